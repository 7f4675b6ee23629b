// --help, --version, and the answer to a command line that is refused.
#include <initializer_list>

#include "bounded_text.h"
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
#include "refusal.h"
#include "status_verdict.h"
#include "version.h"

int RunHelp(const CliTexts& texts)
{
    WriteOut(texts.help);
    WriteOut(kUsage);
    WriteOut(texts.commandHelp);
    // The names status uses, straight from its table of causes.
    wchar_t storage[1024];
    TextBuffer names(storage, ARRAYSIZE(storage));
    for (const bool problems : {true, false})
    {
        names.Add(texts.causeLists[problems ? 0 : 1]).Add(L"\n ");
        std::size_t column = 1;
        for (const CauseRow& cause : kCauses)
        {
            if (cause.problem != problems)
                continue;
            const std::size_t length = TextLength(cause.id);
            if (column + length > 78)
            {
                names.Add(L"\n ");
                column = 1;
            }
            names.Add(L' ').Add(cause.id);
            column += length + 1;
        }
    }
    names.Add(L'\n');
    WriteOut(names.Text());
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
