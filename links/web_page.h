// Opens pages through the shell: the maker's web pages and the Windows settings pages that
// the menu bar offers.
#pragma once

// Opens the donation page for mode 3 and the product page for any other mode, in the
// language the English flag selects now. Shell failures are not reported.
void OpenWebPage(int mode);

// Opens the Windows settings page of a System menu command (IDM_USER_ACCOUNTS to
// IDM_DYNAMIC_LOCK) with the system's own control.exe or explorer.exe, by full path; does
// nothing for another command or when the system's folder cannot be found. Shell failures
// are not reported.
void OpenSettingsPage(int command);
