// Who may change a folder or a file: whether an account other than the machine's own
// administrators may write to it. An elevated program that runs, or hands a password to,
// whatever lies in a place a standard user may write is only as safe as that place.
#pragma once
#include <windows.h>

// Whether `descriptor` lets an account other than Administrators, SYSTEM and TrustedInstaller
// change the object: an owner who is none of those (an owner may always rewrite the access
// list), no access list at all, or an entry that allows writing data, adding a file or a
// folder, appending, deleting, writing the access list or the owner, or generic write or all,
// and that applies to the object itself (not inherit-only). Deny entries are not weighed: the
// answer errs toward "may write".
bool SecurityLetsOthersWrite(PSECURITY_DESCRIPTOR descriptor);

// The same for the file or folder at `path`, from its owner and access list as Windows holds
// them. ERROR_SUCCESS with `writable`; or the Win32 error of reading them, `writable` untouched.
DWORD OthersMayWrite(const wchar_t* path, bool& writable);
