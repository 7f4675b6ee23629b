#include "writer.h"

#include <cwchar>

#include "diagnostic.h"
#include "globals.h"
#include "privileges.h"
#include "resource.h"
#include "secret.h"
#include "unique_handle.h"
#include "wow64.h"
#include "writer_text.h"

namespace
{
const wchar_t kWinlogonPath[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t kAutoAdminLogon[] = L"AutoAdminLogon";
const wchar_t kDefaultDomainName[] = L"DefaultDomainName";
const wchar_t kDefaultUserName[] = L"DefaultUserName";
// A plain-text password that another tool left behind: it must not stay in the registry,
// and Windows must not log on with it instead of the secret.
const wchar_t kDefaultPassword[] = L"DefaultPassword";
// 0 makes Windows switch automatic logon off again at the next start.
const wchar_t kAutoLogonCount[] = L"AutoLogonCount";

bool g_privilegesEnabled = false;

// Once per process, whatever the first attempt achieved.
void EnablePrivilegesOnce()
{
    if (g_privilegesEnabled)
        return;
    g_privilegesEnabled = true;
    const PrivilegeEnabler enabler; // its constructor does all the work
    static_cast<void>(enabler);
}

// One character more than a field may hold, and the terminator: a text that fills it is
// too long. Nothing is ever cut.
struct Fields
{
    wchar_t password[kFieldLimit + 2];
    wchar_t user[kFieldLimit + 2];
    wchar_t domain[kFieldLimit + 2];
    int passwordLength;
    int userLength;
    int domainLength;
};

int ReadField(HWND dialog, int id, wchar_t (&text)[kFieldLimit + 2])
{
    return GetWindowTextW(GetDlgItem(dialog, id), text, static_cast<int>(ARRAYSIZE(text)));
}

LONG WriteText(HKEY key, const wchar_t* name, const wchar_t* text)
{
    const auto bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG DeleteIfPresent(HKEY key, const wchar_t* name)
{
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

// A value as it stood before Set, so that a failed Set can put it back, or delete it if it
// did not exist. The copy is wiped when dropped: it may be a plain-text password.
class SavedValue
{
  public:
    SavedValue() = default;
    ~SavedValue()
    {
        if (data_ != nullptr)
        {
            SecureZeroMemory(data_, size_);
            HeapFree(GetProcessHeap(), 0, data_);
        }
    }
    SavedValue(const SavedValue&) = delete;
    SavedValue& operator=(const SavedValue&) = delete;

    // ERROR_SUCCESS also when the value does not exist.
    LONG Save(HKEY key, const wchar_t* name)
    {
        name_ = name;
        DWORD size = 0;
        LONG result = RegQueryValueExW(key, name, nullptr, &type_, nullptr, &size);
        if (result == ERROR_FILE_NOT_FOUND)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        if (size > 0)
        {
            data_ = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
            if (data_ == nullptr)
                return ERROR_NOT_ENOUGH_MEMORY;
            size_ = size;
            // A value that grew in between gives ERROR_MORE_DATA: then Set does not start.
            result = RegQueryValueExW(key, name, nullptr, &type_, data_, &size);
            if (result != ERROR_SUCCESS)
                return result;
            size_ = size;
        }
        present_ = true;
        return ERROR_SUCCESS;
    }

    LONG Restore(HKEY key) const
    {
        if (!present_)
            return DeleteIfPresent(key, name_);
        return RegSetValueExW(key, name_, 0, type_, data_, size_);
    }

    bool IsZeroNumber() const
    {
        DWORD number = 1;
        if (!present_ || type_ != REG_DWORD || size_ != sizeof number)
            return false;
        CopyMemory(&number, data_, sizeof number);
        return number == 0;
    }

  private:
    const wchar_t* name_ = nullptr;
    bool present_ = false;
    DWORD type_ = REG_NONE;
    DWORD size_ = 0;
    BYTE* data_ = nullptr;
};

WriterResult SetAutoLogon(const Fields& fields)
{
    WriterResult outcome = {WriterOutcome::Failed, 0, {}};
    // Read access as well: what Set changes is saved first.
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0,
                      KEY_WRITE | KEY_QUERY_VALUE | g_registryView, key.Put()) != ERROR_SUCCESS)
    {
        key.Release(); // nothing was opened
        return outcome;
    }

    const wchar_t* const changed[] = {kAutoAdminLogon, kDefaultDomainName, kDefaultUserName,
                                      kDefaultPassword, kAutoLogonCount};
    static_assert(ARRAYSIZE(changed) <= ARRAYSIZE(outcome.unrestored), "room for every value");
    SavedValue saved[ARRAYSIZE(changed)];
    for (size_t i = 0; i < ARRAYSIZE(changed); ++i)
    {
        if (saved[i].Save(key.Get(), changed[i]) != ERROR_SUCCESS)
            return outcome; // nothing changed yet
    }

    LONG result = WriteText(key.Get(), kAutoAdminLogon, L"1");
    if (result == ERROR_SUCCESS)
        result = WriteText(key.Get(), kDefaultDomainName, fields.domain);
    if (result == ERROR_SUCCESS)
        result = WriteText(key.Get(), kDefaultUserName, fields.user);
    if (result == ERROR_SUCCESS)
        result = DeleteIfPresent(key.Get(), kDefaultPassword);
    if (result == ERROR_SUCCESS && saved[4].IsZeroNumber())
        result = DeleteIfPresent(key.Get(), kAutoLogonCount);
    if (result == ERROR_SUCCESS)
    {
        EnablePrivilegesOnce();
        // Stored once: if this fails, the secret keeps what it held before.
        if (StoreDefaultPassword(fields.password, false) != ERROR_SUCCESS)
            result = ERROR_FUNCTION_FAILED;
    }
    if (result == ERROR_SUCCESS)
    {
        outcome.outcome = WriterOutcome::SetDone;
        return outcome;
    }

    // Put the machine back as it was. A value that cannot be put back is beyond repair here,
    // but the user must not be told that nothing changed.
    for (size_t i = ARRAYSIZE(saved); i-- > 0;)
    {
        const LONG restored = saved[i].Restore(key.Get());
        if (restored != ERROR_SUCCESS)
            outcome.unrestored[outcome.unrestoredCount++] = {changed[i], restored};
    }
    if (outcome.unrestoredCount > 0)
        outcome.outcome = WriterOutcome::NotRestored;
    return outcome;
}

WriterResult RemoveAutoLogon()
{
    UniqueRegKey key;
    LONG result =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogonPath, 0, KEY_WRITE | g_registryView, key.Put());
    if (result != ERROR_SUCCESS)
        key.Release(); // nothing was opened
    if (result == ERROR_SUCCESS)
        result = WriteText(key.Get(), kAutoAdminLogon, L"0");
    if (result == ERROR_SUCCESS)
        result = DeleteIfPresent(key.Get(), kDefaultPassword);

    // The secret is blanked even when the registry failed: that direction is always safe.
    // Twice, so that its old value no longer holds the password either.
    EnablePrivilegesOnce();
    const wchar_t empty[] = L"";
    const DWORD stored = StoreDefaultPassword(empty, true);
    const bool done = result == ERROR_SUCCESS && stored == ERROR_SUCCESS;
    return {done ? WriterOutcome::RemoveDone : WriterOutcome::Failed, 0, {}};
}

WriterResult Set(HWND dialog)
{
    Fields fields = {};
    fields.passwordLength = ReadField(dialog, IDC_PASSWORD, fields.password);
    fields.userLength = ReadField(dialog, IDC_USER, fields.user);
    fields.domainLength = ReadField(dialog, IDC_DOMAIN, fields.domain);

    WriterResult outcome = {WriterOutcome::Failed, 0, {}};
    const int limit = static_cast<int>(kFieldLimit);
    if (fields.passwordLength == 0 || fields.userLength == 0)
        outcome.outcome = WriterOutcome::MissingInput;
    else if (fields.passwordLength <= limit && fields.userLength <= limit &&
             fields.domainLength <= limit)
        outcome = SetAutoLogon(fields);
    // Too long is refused rather than cut: a cut password would make the logon fail.

    SecureZeroMemory(&fields, sizeof fields);
    return outcome;
}
} // namespace

void WriteAutoLogon(HWND dialog, int mode)
{
    const WriterResult result = mode == 0 ? Set(dialog) : RemoveAutoLogon();

    for (size_t i = 0; i < result.unrestoredCount; ++i)
        WriteDiagnostic("Failed to restore", result.unrestored[i].name,
                        static_cast<DWORD>(result.unrestored[i].error));
    const WriterMessage message = MessageFor(result.outcome, g_englishFlag);
    MessageBoxW(dialog, message.text, message.caption, message.error ? MB_ICONERROR : MB_OK);
    if (result.outcome == WriterOutcome::SetDone || result.outcome == WriterOutcome::RemoveDone)
        PostQuitMessage(kWriterQuitCode);
}
