// tarvelin-cli: automatic logon from scripts. The arguments come as the runtime splits the
// wide command line by the Windows rules (no wildcard expansion).
#include <windows.h>

#include "administrator.h"
#include "commands.h"
#include "dll_search.h"
#include "user_language.h"

int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv)
{
    // Before anything can load a DLL by name, the system on our behalf included (LogonUserW,
    // the LSA calls): from the system folder only, as the dialog does. It runs elevated from
    // wherever a script put it, and a DLL planted beside it must not be loaded.
    RestrictDllSearchToSystem();

    const CliTexts& texts = TextsFor(PrefersGermanTexts(GetUserDefaultLangID()));
    Arguments arguments;
    ParseArguments(argc - 1, argv + 1, arguments);
    switch (arguments.command)
    {
    case Command::Help:
        return RunHelp(texts, arguments.topic);
    case Command::Version:
        return RunVersion();
    case Command::Status:
        return RunStatus(arguments.json, texts);
    case Command::Set:
    case Command::Remove:
        return RunChange(arguments, texts, RunsAsAdministrator(), SystemLogon());
    case Command::Fix:
        return RunFix(arguments, texts, RunsAsAdministrator());
    case Command::Keep:
        return RunKeep(arguments, texts, RunsAsAdministrator());
    case Command::Dsc:
        return RunDsc(arguments, texts, RunsAsAdministrator(), SystemLogon());
    case Command::None:
        break;
    }
    return RunRefusal(arguments, texts);
}
