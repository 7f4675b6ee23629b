// --help, --version, and the answer to a command line that is refused.
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
#include "help_text.h"
#include "refusal.h"
#include "version.h"

int RunHelp(const CliTexts& texts, Command topic)
{
    wchar_t storage[kHelpCapacity];
    TextBuffer out(storage, ARRAYSIZE(storage));
    ComposeHelp(out, texts, topic);
    WriteOut(out.Text());
    return kExitDone;
}

int RunVersion()
{
    // The product name and the version text that the dialog's title shows.
    WriteOut(L"" TARVELIN_PRODUCT " " TARVELIN_TITLE_VERSION "\n");
    return kExitDone;
}

int RunRefusal(const Arguments& arguments, const CliTexts& texts)
{
    wchar_t storage[kRefusalCapacity];
    TextBuffer text(storage, ARRAYSIZE(storage));
    ComposeRefusal(arguments, texts, text);
    WriteErr(text.Text());
    if (arguments.json)
    {
        TextBuffer json(storage, ARRAYSIZE(storage));
        ComposeRefusalJson(arguments, json);
        WriteOut(json.Text());
    }
    return kExitBadCommandLine;
}
