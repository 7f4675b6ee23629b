#include "web_page.h"

#include <windows.h>

#include <shellapi.h>

#include "globals.h"
#include "resource.h"
#include "web_address.h"

namespace
{
// "desk.cpl ,1" keeps its blank before the comma: it is what control.exe is given.
const struct
{
    int command;
    const char* file;
    const char* parameters;
} kSettingsPages[] = {
    {IDM_USER_ACCOUNTS, "control", "userpasswords2"},
    {IDM_SCREEN_SAVER, "control", "desk.cpl ,1"},
    {IDM_POWER_OPTIONS, "control", "powercfg.cpl"},
    {IDM_DYNAMIC_LOCK, "explorer", "ms-settings:signinoptions-dynamiclock"},
};
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
        if (page.command == command)
        {
            ShellExecuteA(nullptr, "open", page.file, page.parameters, nullptr, SW_SHOW);
            return;
        }
    }
}
