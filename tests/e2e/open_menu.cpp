// Opens the Program menu of the running Tarvelin dialog, as Alt+P does, and leaves it open:
// the screenshot script uses it to picture the menu. Exit code 0 once the popup is shown.
#include <windows.h>

int wmain(); // the console entry point, which the headers do not declare

int wmain()
{
    HWND dialog = nullptr;
    for (int i = 0; i < 200 && dialog == nullptr; ++i)
    {
        dialog = FindWindowW(L"#32770", L"Tarvelin 1.01 - x64");
        if (dialog != nullptr && !IsWindowVisible(dialog))
            dialog = nullptr;
        if (dialog == nullptr)
            Sleep(50);
    }
    if (dialog == nullptr)
        return 1;
    // Posted: the menu runs its own loop inside the program.
    PostMessageW(dialog, WM_SYSCOMMAND, SC_KEYMENU, 'p');
    for (int i = 0; i < 200; ++i)
    {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup != nullptr && IsWindowVisible(popup))
            return 0;
        Sleep(50);
    }
    return 2;
}
