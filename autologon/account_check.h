// What this computer knows of the account automatic logon uses: its own name, the domain it is
// joined to, and the local account database. Read only; every answer is one Windows is sure
// of, or none.
#pragma once
#include <windows.h>

// True when `domain` names this computer: "." or its name, in any letter case.
bool IsThisComputer(const wchar_t* domain);

// True when a non-empty `domain` is neither this computer nor the domain (or workgroup-free
// DNS domain) it is joined to: a renamed computer keeps its old name in DefaultDomainName.
bool IsForeignDomain(const wchar_t* domain);

struct LocalAccount
{
    bool disabled = false;
    bool locked = false;
    bool passwordExpired = false; // expired, or to be changed at the next logon
    bool unknown = false;         // no local account of that name
};

// Asks the local account database about `user`. False, with `account` untouched, when it
// gives no certain answer (access refused, the service unreachable, ...).
bool ReadLocalAccount(const wchar_t* user, LocalAccount& account);
