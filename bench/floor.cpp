// The floor for this kind of tool: a bare modal dialog that imports the same system DLLs as
// Tarvelin. The calls below never run; they only make the linker import each DLL, since
// loading and initialising a DLL is part of what start-up costs.
#include <windows.h>

#include <shellapi.h>

namespace
{
INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL))
    {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/)
{
    if (GetTickCount() == 1) // never true at the moment it matters; keeps the imports
    {
        RegCloseKey(nullptr);                                          // advapi32
        DeleteObject(nullptr);                                         // gdi32
        ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, 0); // shell32
    }
    DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, FloorProc, 0);
    return 0;
}
