// What Wine stubs, stood in for in a second build of tarvelin-cli (tarvelin-cli-standin.exe),
// so that set and remove can be driven end to end through every outcome:
// - the DefaultPassword secret: Wine's LsaStorePrivateData always fails and its
//   LsaRetrievePrivateData finds nothing. Here the secret is kept in the test prefix's
//   registry (StandInSecret below), so that one run sees what the last one stored; a test
//   deletes it afterwards.
// - LogonUserW, which Wine grants to everyone: with TARVELIN_STANDIN_LOGON_ERROR set it fails
//   with that Win32 error.
// - the local account database, which Wine fills with the user running Wine alone: with
//   TARVELIN_STANDIN_ACCOUNT_FLAGS set, NetUserGetInfo answers every name with those flags
//   (this build's AccountDatabase() hands it out in place of netapi32's).
// Everything else, the registry and LsaOpenPolicy included, is Wine's own.
#include <windows.h>

#include <lm.h>
#include <ntsecapi.h>

#include <cwchar>

#include "account_check.h"
#include "commands.h"

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
NET_API_STATUS WINAPI StandInUserGetInfo(LPCWSTR server, LPCWSTR user, DWORD level, LPBYTE* buffer)
{
    DWORD flags = 0;
    if (!NumberFromEnvironment(L"TARVELIN_STANDIN_ACCOUNT_FLAGS", flags))
        return NetUserGetInfo(server, user, level, buffer); // Wine's own answer
    LPVOID info = nullptr;
    NetApiBufferAllocate(sizeof(USER_INFO_1), &info);
    ZeroMemory(info, sizeof(USER_INFO_1));
    static_cast<USER_INFO_1*>(info)->usri1_flags = flags;
    *buffer = static_cast<LPBYTE>(info);
    return NERR_Success;
}
} // namespace

const AccountRoutines& AccountDatabase()
{
    static const AccountRoutines routines = {StandInUserGetInfo, NetGetJoinInformation,
                                             NetApiBufferFree};
    return routines;
}
