// Real mouse and keyboard input, through the system's input queue as a user gives it: it goes
// to whatever window is under the cursor or has the focus, and a disabled window gets none.
// Used by the in-process and the end-to-end tests alike.
#pragma once
#include <windows.h>

// A left click at the centre of the window; false if the input could not be sent.
inline bool ClickCentreOf(HWND window)
{
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// One press and release of a key; false if the input could not be sent.
inline bool PressKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, inputs, sizeof(INPUT)) == 2;
}
