#include "status_reader.h"

#include "lsa_policy.h"
#include "winlogon_values.h"
#include "wow64.h"

namespace
{
const wchar_t kPoliciesPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPasswordLessPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device";

constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);

// The value of DevicePasswordLessBuildVersion with which Windows requires Windows Hello
// sign-in and ignores automatic logon.
constexpr DWORD kPasswordLessRequired = 2;

UniqueRegKey OpenMachineKey(const wchar_t* path)
{
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | MachineKeyView(), key.Put()) !=
        ERROR_SUCCESS)
        key.Release(); // a failed open leaves nothing to close
    return key;
}

// Reads a text value (REG_SZ or REG_EXPAND_SZ, unexpanded) whole and hands it to `use` as
// (text, length); a missing value, or one of another type, is handed over as empty. The copy
// is wiped before it is freed: a name or notice is none of the heap's next owner's business.
template <typename Use>
void WithTextValue(HKEY key, const wchar_t* name, Use use)
{
    DWORD type = REG_NONE;
    DWORD size = 0;
    wchar_t* data = nullptr;
    DWORD length = 0;
    if (key != nullptr &&
        RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size >= sizeof(wchar_t))
        data = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
    // A value that grew in between reads as empty.
    if (data != nullptr && RegQueryValueExW(key, name, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
    {
        // Stored text need not be terminated: it ends at its first null or its last character.
        while (length < size / sizeof(wchar_t) && data[length] != L'\0')
            ++length;
    }
    use(data != nullptr ? data : L"", length);
    if (data != nullptr)
    {
        SecureZeroMemory(data, size);
        HeapFree(GetProcessHeap(), 0, data);
    }
}

// Copies at most kFieldLimit characters; true when the text was longer.
bool CopyName(HKEY key, const wchar_t* name, wchar_t (&out)[kFieldLimit + 1])
{
    bool longer = false;
    WithTextValue(key, name, [&](const wchar_t* text, DWORD length) {
        DWORD i = 0;
        for (; i < length && i < kFieldLimit; ++i)
            out[i] = text[i];
        out[i] = L'\0';
        longer = length > kFieldLimit;
    });
    return longer;
}

bool TextIsNotEmpty(HKEY key, const wchar_t* name)
{
    bool notEmpty = false;
    WithTextValue(key, name, [&](const wchar_t*, DWORD length) { notEmpty = length != 0; });
    return notEmpty;
}

// False when the value is missing or not a 32-bit number.
bool ReadNumber(HKEY key, const wchar_t* name, DWORD& number)
{
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (key == nullptr ||
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return false;
    number = value;
    return true;
}

bool ValueExists(HKEY key, const wchar_t* name)
{
    return key != nullptr &&
           RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Windows asks for a confirmation at logon when either text is non-empty, in either key.
bool HasLegalNotice(HKEY key)
{
    return TextIsNotEmpty(key, L"LegalNoticeCaption") || TextIsNotEmpty(key, L"LegalNoticeText");
}
} // namespace

SecretState ReadSecretState()
{
    UniqueLsaHandle policy;
    if (OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy) != 0)
        return SecretState::Unknown;

    SecretName secret;
    PLSA_UNICODE_STRING data = nullptr;
    const NTSTATUS status = LsaRetrievePrivateData(policy.Get(), &secret.name, &data);
    SecretState state = SecretState::Unknown;
    if (status == kStatusObjectNameNotFound)
        state = SecretState::Absent;
    else if (status == 0)
        state = data != nullptr && data->Length != 0 ? SecretState::Present : SecretState::Absent;
    if (data != nullptr)
    {
        // Only its presence was wanted: the password leaves this process's memory at once.
        if (data->Buffer != nullptr)
            SecureZeroMemory(data->Buffer, data->Length);
        LsaFreeMemory(data);
    }
    return state;
}

void ReadStatusSnapshot(StatusSnapshot& snapshot)
{
    snapshot = StatusSnapshot{};
    {
        const UniqueRegKey winlogon = OpenMachineKey(kWinlogonPath);
        WithTextValue(winlogon.Get(), kAutoAdminLogon, [&](const wchar_t* text, DWORD length) {
            snapshot.autoAdminLogonOn = length == 1 && text[0] == L'1';
        });
        snapshot.domainLonger = CopyName(winlogon.Get(), kDefaultDomainName, snapshot.domain);
        snapshot.userLonger = CopyName(winlogon.Get(), kDefaultUserName, snapshot.user);
        // Whether it exists, never what it holds.
        snapshot.plainTextPassword = ValueExists(winlogon.Get(), kDefaultPassword);
        DWORD count = 0;
        snapshot.hasLogonCount = ReadNumber(winlogon.Get(), kAutoLogonCount, count);
        snapshot.logonCount = count;
        snapshot.legalNotice = HasLegalNotice(winlogon.Get());
    }
    snapshot.legalNotice =
        snapshot.legalNotice || HasLegalNotice(OpenMachineKey(kPoliciesPath).Get());

    DWORD passwordLess = 0;
    snapshot.passwordLessSignIn = ReadNumber(OpenMachineKey(kPasswordLessPath).Get(),
                                             L"DevicePasswordLessBuildVersion", passwordLess) &&
                                  passwordLess == kPasswordLessRequired;

    snapshot.secret = ReadSecretState();
}
