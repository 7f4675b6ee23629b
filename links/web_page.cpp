#include "web_page.h"

#include <windows.h>

#include <shellapi.h>

#include "bounded_text.h"
#include "globals.h"
#include "resource.h"
#include "web_address.h"

namespace
{
// The program runs elevated from wherever it was saved, often a downloads folder: a bare
// "control" would start a control.exe planted there. The system's own programs are started
// by their full path instead.
enum class Folder
{
    System,  // GetSystemDirectoryW
    Windows, // GetWindowsDirectoryW
};

// "desk.cpl ,1" keeps its blank before the comma: it is what control.exe is given.
const struct
{
    int command;
    Folder folder;
    const wchar_t* file;
    const wchar_t* parameters;
} kSettingsPages[] = {
    {IDM_USER_ACCOUNTS, Folder::System, L"control.exe", L"userpasswords2"},
    {IDM_SCREEN_SAVER, Folder::System, L"control.exe", L"desk.cpl ,1"},
    {IDM_POWER_OPTIONS, Folder::System, L"control.exe", L"powercfg.cpl"},
    {IDM_DYNAMIC_LOCK, Folder::Windows, L"explorer.exe", L"ms-settings:signinoptions-dynamiclock"},
};

// Full path of a file in the system or Windows folder. False, with an empty text, when the
// folder cannot be found or the path does not fit.
bool SystemFilePath(wchar_t (&path)[MAX_PATH], Folder folder, const wchar_t* file)
{
    const UINT length = folder == Folder::System ? GetSystemDirectoryW(path, MAX_PATH)
                                                 : GetWindowsDirectoryW(path, MAX_PATH);
    // A root folder ("C:\") already ends in a backslash.
    const bool fits = length > 0 && length < MAX_PATH &&
                      (path[length - 1] == L'\\' || AppendText(path, MAX_PATH, L"\\")) &&
                      AppendText(path, MAX_PATH, file);
    if (!fits)
        path[0] = L'\0';
    return fits;
}
} // namespace

void OpenWebPage(int mode)
{
    char address[kWebAddressCapacity] = {};
    if (!ComposeWebAddress(address, sizeof address, g_englishFlag, mode))
        return;
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOW);
}

void OpenSettingsPage(int command)
{
    for (const auto& page : kSettingsPages)
    {
        wchar_t program[MAX_PATH];
        if (page.command == command && SystemFilePath(program, page.folder, page.file))
            ShellExecuteW(nullptr, L"open", program, page.parameters, nullptr, SW_SHOW);
    }
}
