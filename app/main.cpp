// Entry point: picks the language and runs the auto-logon dialog.
#include <windows.h>

#include "dialog.h"
#include "dll_search.h"
#include "globals.h"
#include "language.h"
#include "resource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/)
{
    // Before anything can load a DLL by name: from the system folder only.
    RestrictDllSearchToSystem();

    // The user's locale, not the display language, decides the texts.
    const LANGID language = GetUserDefaultLangID();
    g_module = instance;
    g_englishFlag = EnglishFlagForLangId(language);

    // Ends through EndDialog, or through the quit message posted after a successful Set or
    // Remove. Its result, -1 included, does not change the exit code.
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_AUTOLOGON), nullptr, AutoLogonDialogProc, 0);
    return 0;
}
