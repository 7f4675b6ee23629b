#include "event_record.h"

#include "bounded_text.h"
#include "change_report.h"
#include "console_io.h"
#include "error_text.h"
#include "keep_store.h"

namespace
{
const wchar_t kSourceKey[] =
    L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tarvelin";

// The account this process runs as: its SID (into `sid`) and DOMAIN\NAME.
bool WhoRuns(BYTE (&sid)[SECURITY_MAX_SID_SIZE], TextBuffer& name)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    alignas(TOKEN_USER) BYTE storage[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    const bool got = GetTokenInformation(token, TokenUser, storage, sizeof storage, &size) != 0;
    CloseHandle(token);
    if (!got)
        return false;
    PSID user = reinterpret_cast<TOKEN_USER*>(storage)->User.Sid;
    if (!CopySid(sizeof sid, sid, user))
        return false;
    wchar_t account[kFieldLimit + 1];
    wchar_t domain[kFieldLimit + 1];
    DWORD accountLength = CountOf(account);
    DWORD domainLength = CountOf(domain);
    SID_NAME_USE use = SidTypeUnknown;
    if (LookupAccountSidW(nullptr, user, account, &accountLength, domain, &domainLength, &use))
    {
        if (domain[0] != L'\0')
            name.Add(domain).Add(L'\\');
        name.Add(account);
    }
    return true;
}

// The message file: the copy of this program that the source names, replaced where it is not
// this program byte for byte (an older one may lack a message), and the source's key.
DWORD RegisterSource()
{
    KeepPaths keep;
    if (!FindKeepPaths(keep))
        return ERROR_PATH_NOT_FOUND;
    KeepPaths paths;
    TextBuffer(paths.folder, MAX_PATH).Add(keep.folder).Add(L"\\Events");
    TextBuffer(paths.copy, MAX_PATH).Add(paths.folder).Add(L"\\tarvelin-cli.exe");
    TextBuffer(paths.self, MAX_PATH).Add(keep.self);
    DWORD error = ERROR_SUCCESS;
    if (CompareFiles(paths.self, paths.copy, error) != CopyFound::Same)
    {
        error = CopyProgram(paths);
        if (error != ERROR_SUCCESS)
            return error;
    }
    HKEY key = nullptr;
    error = static_cast<DWORD>(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSourceKey, 0, nullptr, 0,
                                               KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key,
                                               nullptr));
    if (error != ERROR_SUCCESS)
        return error;
    const DWORD types = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
    error = static_cast<DWORD>(RegSetValueExW(
        key, L"EventMessageFile", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(paths.copy),
        static_cast<DWORD>((TextLength(paths.copy) + 1) * sizeof(wchar_t))));
    if (error == ERROR_SUCCESS)
        error =
            static_cast<DWORD>(RegSetValueExW(key, L"TypesSupported", 0, REG_DWORD,
                                              reinterpret_cast<const BYTE*>(&types), sizeof types));
    RegCloseKey(key);
    return error;
}

void SayUnrecorded(DWORD error)
{
    wchar_t storage[512];
    TextBuffer words(storage, CountOf(storage));
    words.Add(L"tarvelin-cli: the change could not be recorded in the event log (");
    AddErrorNumber(words, error);
    WriteErr(words.Add(L").\n").Text());
}
} // namespace

void RecordEvent(EventKind kind, bool failed, const wchar_t* changes, const wchar_t* outcome)
{
    DWORD error = RegisterSource();
    if (error != ERROR_SUCCESS)
    {
        SayUnrecorded(error);
        return;
    }
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    wchar_t nameStorage[2 * kFieldLimit + 2];
    TextBuffer name(nameStorage, CountOf(nameStorage));
    const bool known = WhoRuns(sid, name);
    HANDLE source = RegisterEventSourceW(nullptr, L"Tarvelin");
    if (source == nullptr)
    {
        SayUnrecorded(GetLastError());
        return;
    }
    const wchar_t* strings[] = {name.Text(), outcome, changes[0] != L'\0' ? changes : L"(none)"};
    if (!ReportEventW(source, failed ? EVENTLOG_ERROR_TYPE : EVENTLOG_INFORMATION_TYPE, 0,
                      static_cast<DWORD>(kind), known ? sid : nullptr, 3, 0, strings, nullptr))
        error = GetLastError();
    DeregisterEventSource(source);
    if (error != ERROR_SUCCESS)
        SayUnrecorded(error);
}

void AddRunChanges(const ChangeRun& run, TextBuffer& out)
{
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!run.plan.change[i])
            continue;
        out.Add(L"  ");
        AddValueChange(out, kPlanValueNames[i], run.before.values[i], run.before.unreadable[i],
                       run.plan.after[i], false);
        out.Add(L'\n');
    }
    if (run.plan.secret == SecretAction::Replace)
        out.Add(L"  LSA secret DefaultPassword: the password stored\n");
    else if (run.plan.secret == SecretAction::Delete)
        out.Add(L"  LSA secret DefaultPassword: deleted\n");
}
