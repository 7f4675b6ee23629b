// What this computer knows of the account automatic logon uses: its own name, the domain it is
// joined to, and the local account database. Read only; every answer is one Windows is sure
// of, or none.
#pragma once
#include <windows.h>

#include <lm.h>

// True when `domain` names this computer: "." or its name, in any letter case.
bool IsThisComputer(const wchar_t* domain);

// True when a non-empty `domain` is neither this computer nor the domain (or workgroup-free
// DNS domain) it is joined to: a renamed computer keeps its old name in DefaultDomainName.
// False when netapi32 cannot be had.
bool IsForeignDomain(const wchar_t* domain);

#include "account_dates.h"

struct LocalAccount
{
    bool disabled = false;
    bool locked = false;
    bool passwordExpired = false; // expired, or to be changed at the next logon
    bool unknown = false;         // no local account of that name
    // Its dates and hours and the local password policy, where the database gave them
    // (NetUserGetInfo level 3, NetUserModalsGet level 0); not otherwise.
    bool dated = false;
    AccountTimes times;
};

// Asks the local account database about `user`. False, with `account` untouched, when it
// gives no certain answer (access refused, the service unreachable, netapi32 missing, ...).
bool ReadLocalAccount(const wchar_t* user, LocalAccount& account);

// Sets the account's flags (NetUserSetInfo level 1008) to what they are with `set` added and
// `clear` taken away, reading them first so that no other flag changes; `before` gets them as
// they were. NERR_Success (also when nothing was to change); otherwise the status of the call
// that failed, and nothing changed.
DWORD ChangeAccountFlags(const wchar_t* user, DWORD set, DWORD clear, DWORD& before);

// The netapi32 routines the checks above call.
struct AccountRoutines
{
    NET_API_STATUS(WINAPI* userGetInfo)(LPCWSTR server, LPCWSTR user, DWORD level, LPBYTE* buffer);
    NET_API_STATUS(WINAPI* joinInformation)
    (LPCWSTR server, LPWSTR* name, PNETSETUP_JOIN_STATUS status);
    NET_API_STATUS(WINAPI* bufferFree)(LPVOID buffer);
    NET_API_STATUS(WINAPI* modalsGet)(LPCWSTR server, DWORD level, LPBYTE* buffer);
    NET_API_STATUS(WINAPI* userSetInfo)
    (LPCWSTR server, LPCWSTR user, DWORD level, LPBYTE buffer, LPDWORD error);
};

// netapi32's routines, looked up on first use from the system folder only: it is no KnownDLL,
// so as an import it would be searched for beside the program before its first line runs. A
// routine that cannot be found is null, and whatever needs it has no certain answer. Alone in
// autologon/account_database.cpp, so that the Win32 tests and the stand-in build can link
// their own in its place where Wine knows too few accounts.
const AccountRoutines& AccountDatabase();
