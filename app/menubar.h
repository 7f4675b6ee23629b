// The dialog's menu bar, built at run time in the user's language.
#pragma once
#include <windows.h>

// Builds the Program and System popups and attaches the bar to the dialog in place of the
// template's placeholder menu. Failures leave entries or pictures out; nothing is reported.
void BuildMenuBar(HWND dialog);

// Draws an icon (null draws nothing) at the small-icon size on the menu colour and returns
// a new device-compatible bitmap of it, owned by the caller; null when the copy fails.
HBITMAP IconToMenuBitmap(HICON icon);
