// The dialog's "Set" and "Remove": the fields go to the core, the outcome comes back in boxes.
#pragma once
#include <windows.h>

// Quit code posted after a successful Set or Remove; it ends the dialog's modal loop.
constexpr int kWriterQuitCode = 45054;

// mode 0 = Set: switches automatic logon on for the account in the dialog's fields, with the
// password as the "DefaultPassword" secret. Any other mode = Remove: switches it off and
// blanks the secret. Reads the fields itself and tells the outcome in a box owned by
// `dialog`; after a success it posts the quit message. A failed Set puts the Winlogon values
// back as they were; a value it cannot put back is named on standard output, with the error,
// and the box says that the previous settings could not all be restored. A failed Remove
// may leave automatic logon switched off.
void WriteAutoLogon(HWND dialog, int mode);
