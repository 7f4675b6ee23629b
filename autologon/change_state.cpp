#include "change_state.h"

#include "registry_value.h"
#include "secret_read.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "wow64.h"

void ReadChangeState(ChangeState& state, const wchar_t* password)
{
    state = ChangeState();
    UniqueRegKey key;
    const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0,
                                      KEY_QUERY_VALUE | MachineKeyView(), key.Put());
    if (opened != ERROR_SUCCESS)
        key.Release(); // a failed open leaves nothing to close
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        RegistryValue value;
        const LONG read =
            opened == ERROR_SUCCESS ? value.Read(key.Get(), kPlanValueNames[i]) : opened;
        // A plain-text password: whether it exists, never what it holds.
        if (read == ERROR_SUCCESS && i == static_cast<unsigned int>(PlanValue::DefaultPassword))
        {
            state.values[i] = ValueForm{true, value.Type()};
            state.passwordText = value.HasText();
        }
        else if (read == ERROR_SUCCESS)
            DescribeValue(value, state.values[i]);
        state.unreadable[i] = read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND;
    }

    state.secret = InspectDefaultPassword(password != nullptr ? password : L"");
}
