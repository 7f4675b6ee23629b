// What Wine stubs, stood in for in a second build of tarvelin-cli (tarvelin-cli-standin.exe),
// so that set and remove can be driven end to end through every outcome:
// - the DefaultPassword secret: Wine's LsaStorePrivateData always fails and its
//   LsaRetrievePrivateData finds nothing. Here the secret is kept in the test prefix's
//   registry (StandInSecret below), so that one run sees what the last one stored; a test
//   deletes it afterwards.
// - LogonUserW, which Wine grants to everyone: with TARVELIN_STANDIN_LOGON_ERROR set it fails
//   with that Win32 error.
// - the local account database, which Wine fills with the user running Wine alone, answers
//   levels 2 to 4 and the password policy with an internal error and lacks NetUserSetInfo:
//   where the test prefix holds a stand-in account (below), every name is that account
//   (this build's AccountDatabase() hands it out in place of netapi32's).
// - the security descriptors of files and folders, which Wine makes up from Unix modes (so
//   that every folder looks writable by others): where the test prefix names a path under
//   StandInSecurity, GetNamedSecurityInfoW answers that value's SDDL; any other path is
//   Wine's.
// - the event log, which Wine does not keep: with TARVELIN_STANDIN_EVENTS set, ReportEventW
//   formats the event from this program's own message table, as Event Viewer would, and
//   appends it to that file ("<type> <id>", the text, a blank line).
// - the task's definition on its way to and from the Task Scheduler: Wine's keeps the task but
//   drops its triggers, principal and actions. RegisterTaskXml registers it with Wine's and
//   keeps the XML handed over under StandInTask, where a test reads it; RegisteredTaskXml
//   hands that back while Wine's holds the task.
// Everything else, the registry, LsaOpenPolicy and the Task Scheduler included, is Wine's own.
#include <windows.h>

#include <aclapi.h>
#include <lm.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <cwchar>

#include "account_check.h"
#include "commands.h"
#include "keep_task_xml.h"

namespace
{
const wchar_t kSecretKey[] = L"SOFTWARE\\TarvelinTest\\StandInSecret";

// The number in an environment variable, or false when it is not set.
bool NumberFromEnvironment(const wchar_t* name, DWORD& number)
{
    wchar_t text[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, text, ARRAYSIZE(text));
    if (length == 0 || length >= ARRAYSIZE(text))
        return false;
    number = wcstoul(text, nullptr, 0);
    return true;
}

BOOL WINAPI StandInLogonUser(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, DWORD, PHANDLE token)
{
    DWORD error = 0;
    *token = nullptr;
    if (NumberFromEnvironment(L"TARVELIN_STANDIN_LOGON_ERROR", error))
    {
        SetLastError(error);
        return FALSE;
    }
    // A real handle, for the caller to close.
    *token = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return TRUE;
}
} // namespace

LogonFunction SystemLogon()
{
    return StandInLogonUser;
}

// Parameter names as the SDK header declares them.
extern "C" NTSTATUS NTAPI LsaStorePrivateData(LSA_HANDLE PolicyHandle, PLSA_UNICODE_STRING KeyName,
                                              PLSA_UNICODE_STRING PrivateData)
{
    static_cast<void>(PolicyHandle);
    static_cast<void>(KeyName);
    const LSA_UNICODE_STRING* value = PrivateData;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSecretKey, 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return static_cast<NTSTATUS>(0xC0000022); // STATUS_ACCESS_DENIED
    const LONG written =
        value == nullptr
            ? RegDeleteValueW(key, L"DefaultPassword")
            : RegSetValueExW(key, L"DefaultPassword", 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(value->Buffer), value->Length);
    RegCloseKey(key);
    return written == ERROR_SUCCESS ? 0 : static_cast<NTSTATUS>(0xC0000022);
}

extern "C" NTSTATUS NTAPI LsaRetrievePrivateData(LSA_HANDLE PolicyHandle,
                                                 PLSA_UNICODE_STRING KeyName,
                                                 PLSA_UNICODE_STRING* PrivateData)
{
    static_cast<void>(PolicyHandle);
    static_cast<void>(KeyName);
    PLSA_UNICODE_STRING* value = PrivateData;
    *value = nullptr;
    BYTE bytes[1024] = {};
    DWORD size = sizeof bytes;
    HKEY key = nullptr;
    LONG read =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSecretKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key);
    if (read == ERROR_SUCCESS)
    {
        read = RegQueryValueExW(key, L"DefaultPassword", nullptr, nullptr, bytes, &size);
        RegCloseKey(key);
    }
    if (read != ERROR_SUCCESS)
        return static_cast<NTSTATUS>(0xC0000034); // STATUS_OBJECT_NAME_NOT_FOUND
    auto* found = static_cast<LSA_UNICODE_STRING*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(LSA_UNICODE_STRING) + size + 2));
    auto* text = reinterpret_cast<wchar_t*>(found + 1);
    CopyMemory(text, bytes, size);
    *found = {static_cast<USHORT>(size), static_cast<USHORT>(size + 2), text};
    *value = found;
    return 0;
}

extern "C" NTSTATUS NTAPI LsaFreeMemory(PVOID buffer)
{
    HeapFree(GetProcessHeap(), 0, buffer);
    return 0;
}

namespace
{
// The stand-in account, kept in the test prefix's registry as the secret is, so that one run
// sees what the last one changed: Flags, PasswordAge, PasswordExpired, AccountExpires and
// MaxPasswordAge (REG_DWORD), LogonHours (21 bytes); with SetInfoError, NetUserSetInfo fails
// with that status. Without the key, Wine's own answers.
const wchar_t kAccountKey[] = L"SOFTWARE\\TarvelinTest\\StandInAccount";

bool AccountValue(const wchar_t* name, DWORD& number, BYTE* bytes = nullptr, DWORD size = 0)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAccountKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD got = bytes != nullptr ? size : sizeof number;
    const LONG read =
        RegQueryValueExW(key, name, nullptr, nullptr,
                         bytes != nullptr ? bytes : reinterpret_cast<BYTE*>(&number), &got);
    RegCloseKey(key);
    return read == ERROR_SUCCESS;
}

bool AccountStandsIn()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAccountKey, 0, KEY_READ | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

DWORD AccountNumber(const wchar_t* name, DWORD otherwise)
{
    DWORD number = otherwise;
    return AccountValue(name, number) ? number : otherwise;
}

NET_API_STATUS WINAPI StandInUserGetInfo(LPCWSTR server, LPCWSTR user, DWORD level, LPBYTE* buffer)
{
    if (!AccountStandsIn())
        return NetUserGetInfo(server, user, level, buffer); // Wine's own answer
    LPVOID info = nullptr;
    NetApiBufferAllocate(sizeof(USER_INFO_3) + 21, &info);
    ZeroMemory(info, sizeof(USER_INFO_3) + 21);
    *buffer = static_cast<LPBYTE>(info);
    auto* three = static_cast<USER_INFO_3*>(info);
    const DWORD flags = AccountNumber(L"Flags", 0);
    if (level == 1)
    {
        static_cast<USER_INFO_1*>(info)->usri1_flags = flags;
        return NERR_Success;
    }
    three->usri3_flags = flags;
    three->usri3_password_age = AccountNumber(L"PasswordAge", 0);
    three->usri3_password_expired = AccountNumber(L"PasswordExpired", 0);
    three->usri3_acct_expires = AccountNumber(L"AccountExpires", TIMEQ_FOREVER);
    auto* hours = reinterpret_cast<BYTE*>(three + 1);
    DWORD unused = 0;
    if (AccountValue(L"LogonHours", unused, hours, 21))
        three->usri3_logon_hours = hours;
    return NERR_Success;
}

NET_API_STATUS WINAPI StandInModalsGet(LPCWSTR server, DWORD level, LPBYTE* buffer)
{
    if (!AccountStandsIn())
        return NetUserModalsGet(server, level, buffer);
    LPVOID info = nullptr;
    NetApiBufferAllocate(sizeof(USER_MODALS_INFO_0), &info);
    ZeroMemory(info, sizeof(USER_MODALS_INFO_0));
    static_cast<USER_MODALS_INFO_0*>(info)->usrmod0_max_passwd_age =
        AccountNumber(L"MaxPasswordAge", TIMEQ_FOREVER);
    *buffer = static_cast<LPBYTE>(info);
    return NERR_Success;
}

// Wine has no NetUserSetInfo at all (calling it ends the process), so without the stand-in
// account the answer is that it is not supported.
// NOLINTNEXTLINE(readability-non-const-parameter): NetUserSetInfo's own signature
NET_API_STATUS WINAPI StandInUserSetInfo(LPCWSTR, LPCWSTR, DWORD level, LPBYTE buffer, LPDWORD)
{
    if (!AccountStandsIn() || level != 1008)
        return ERROR_NOT_SUPPORTED;
    if (const DWORD error = AccountNumber(L"SetInfoError", 0); error != 0)
        return error;
    const DWORD flags = reinterpret_cast<USER_INFO_1008*>(buffer)->usri1008_flags;
    HKEY key = nullptr;
    LONG written =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAccountKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &key);
    if (written == ERROR_SUCCESS)
    {
        written = RegSetValueExW(key, L"Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags),
                                 sizeof flags);
        RegCloseKey(key);
    }
    return static_cast<NET_API_STATUS>(written);
}
} // namespace

const AccountRoutines& AccountDatabase()
{
    static const AccountRoutines routines = {StandInUserGetInfo, NetGetJoinInformation,
                                             NetApiBufferFree, StandInModalsGet,
                                             StandInUserSetInfo};
    return routines;
}

namespace
{
const wchar_t kSecurityKey[] = L"SOFTWARE\\TarvelinTest\\StandInSecurity";
} // namespace

namespace
{
DWORD WINAPI StandInNamedSecurityInfo(LPCWSTR pObjectName, SE_OBJECT_TYPE ObjectType,
                                      SECURITY_INFORMATION SecurityInfo, PSID* ppsidOwner,
                                      PSID* ppsidGroup, PACL* ppDacl, PACL* ppSacl,
                                      PSECURITY_DESCRIPTOR* ppSecurityDescriptor)
{
    wchar_t sddl[512] = {};
    DWORD size = sizeof sddl - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSecurityKey, pObjectName, RRF_RT_REG_SZ, nullptr, sddl,
                     &size) == ERROR_SUCCESS)
    {
        // Only the descriptor itself is asked for by the program.
        if (ppsidOwner != nullptr || ppsidGroup != nullptr || ppDacl != nullptr ||
            ppSacl != nullptr)
            return ERROR_INVALID_PARAMETER;
        return ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                    ppSecurityDescriptor, nullptr)
                   ? ERROR_SUCCESS
                   : GetLastError();
    }
    using Routine = DWORD(WINAPI*)(LPCWSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*,
                                   PACL*, PACL*, PSECURITY_DESCRIPTOR*);
    const auto wine = reinterpret_cast<Routine>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"advapi32"), "GetNamedSecurityInfoW")));
    return wine(pObjectName, ObjectType, SecurityInfo, ppsidOwner, ppsidGroup, ppDacl, ppSacl,
                ppSecurityDescriptor);
}

BOOL WINAPI StandInReportEvent(HANDLE hEventLog, WORD wType, WORD wCategory, DWORD dwEventID,
                               PSID lpUserSid, WORD wNumStrings, DWORD dwDataSize,
                               LPCWSTR* lpStrings, LPVOID lpRawData)
{
    static_cast<void>(hEventLog);
    static_cast<void>(wCategory);
    static_cast<void>(lpRawData);
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TARVELIN_STANDIN_EVENTS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    // What Event Viewer shows: the message of that id with the strings put in; an id the
    // table lacks, or a string missing, shows as a failure here as it would there.
    wchar_t* text = nullptr;
    DWORD_PTR arguments[8] = {};
    for (WORD i = 0; i < wNumStrings && i < 8; ++i)
        arguments[i] = reinterpret_cast<DWORD_PTR>(lpStrings[i]);
    const DWORD made =
        FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                           FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       nullptr, dwEventID, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       reinterpret_cast<LPWSTR>(&text), 0, reinterpret_cast<va_list*>(arguments));
    char head[64];
    const int headLength =
        wsprintfA(head, "%u %lu%s\r\n", wType, dwEventID,
                  lpUserSid != nullptr && IsValidSid(lpUserSid) && dwDataSize == 0 ? " user" : "");
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    WriteFile(file, head, static_cast<DWORD>(headLength), &written, nullptr);
    static char utf8[16384];
    const int bytes = made == 0 ? 0
                                : WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(made),
                                                      utf8, sizeof utf8, nullptr, nullptr);
    if (made == 0)
        WriteFile(file, "(no message)", 12, &written, nullptr);
    WriteFile(file, utf8, static_cast<DWORD>(bytes), &written, nullptr);
    WriteFile(file, "\r\n\r\n", 4, &written, nullptr);
    CloseHandle(file);
    LocalFree(text);
    return TRUE;
}
const wchar_t kTaskKey[] = L"SOFTWARE\\TarvelinTest\\StandInTask";
} // namespace

HRESULT RegisterTaskXml(ITaskFolder* folder, BSTR name, BSTR xml)
{
    const HRESULT error = RegisterTaskAsSystem(folder, name, xml);
    if (SUCCEEDED(error))
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, kTaskKey, L"Xml", REG_SZ, xml,
                        (SysStringLen(xml) + 1) * sizeof(wchar_t));
    return error;
}

HRESULT RegisteredTaskXml(IRegisteredTask* task, BSTR& xml)
{
    static wchar_t kept[8192];
    DWORD size = sizeof kept - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kTaskKey, L"Xml", RRF_RT_REG_SZ, nullptr, kept, &size) !=
        ERROR_SUCCESS)
        return task->get_Xml(&xml);
    xml = SysAllocString(kept);
    return S_OK;
}

// advapi32 declares both for import, so the program calls them through their import entries:
// these take the import library's place (64-bit names).
extern "C"
{
    // The import entries' names are the toolchain's, reserved as they are.
    // NOLINTBEGIN(bugprone-reserved-identifier)
    extern void* __imp_GetNamedSecurityInfoW;
    extern void* __imp_ReportEventW;
    void* __imp_GetNamedSecurityInfoW = reinterpret_cast<void*>(StandInNamedSecurityInfo);
    void* __imp_ReportEventW = reinterpret_cast<void*>(StandInReportEvent);
    // NOLINTEND(bugprone-reserved-identifier)
}
