// The auto-logon dialog: the program's only window.
#pragma once
#include <windows.h>

INT_PTR CALLBACK AutoLogonDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The Time setting: 5 until the settings file or a command 5001-5064 says otherwise.
extern int g_timeValue;
