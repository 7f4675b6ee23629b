// --help, --version, and the answer to a command line that is refused.
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
#include "text_buffer.h"
#include "version.h"

int RunHelp(const CliTexts& texts)
{
    WriteOut(texts.help);
    WriteOut(kUsage);
    WriteOut(texts.commandHelp);
    return kExitDone;
}

int RunVersion()
{
    // The product name and the version text that the dialog's title shows.
    WriteOut(L"" TARVELIN_PRODUCT " " TARVELIN_TITLE_VERSION "\n");
    return kExitDone;
}

namespace
{
// How each refusal is told: its sentence, whether the word it is about follows it, and
// whether the usage lines follow (when the command line was not understood at all).
struct Refusal
{
    const char* CliTexts::*sentence;
    bool word;
    bool usage;
};

Refusal RefusalFor(ArgumentError error)
{
    switch (error)
    {
    case ArgumentError::NoCommand:
        return {&CliTexts::noCommand, false, true};
    case ArgumentError::UnknownCommand:
        return {&CliTexts::unknownCommand, true, true};
    case ArgumentError::UnknownOption:
        return {&CliTexts::unknownOption, true, true};
    case ArgumentError::MissingValue:
        return {&CliTexts::missingValue, true, false};
    case ArgumentError::Repeated:
        return {&CliTexts::repeated, true, false};
    case ArgumentError::PasswordOption:
        return {&CliTexts::passwordOption, false, false};
    case ArgumentError::MissingUser:
        return {&CliTexts::missingUser, false, false};
    case ArgumentError::EmptyUser:
        return {&CliTexts::emptyUser, false, false};
    case ArgumentError::BadUser:
        return {&CliTexts::badUser, false, false};
    case ArgumentError::DomainTwice:
        return {&CliTexts::domainTwice, false, false};
    case ArgumentError::TooLong:
    case ArgumentError::None:
        break;
    }
    return {nullptr, true, false};
}
} // namespace

int RunRefusal(const Arguments& arguments, const CliTexts& texts)
{
    wchar_t storage[1024];
    TextBuffer line(storage, ARRAYSIZE(storage));
    line.Add(L"tarvelin-cli: ");
    const Refusal refusal = RefusalFor(arguments.error);
    const bool tooLong = arguments.error == ArgumentError::TooLong;
    if (tooLong)
        line.Add(texts.tooLong[0]);
    else if (refusal.sentence != nullptr)
        line.Add(texts.*refusal.sentence);
    if (refusal.word && arguments.offending != nullptr)
    {
        // A word of any length is shown up to a line's worth, marked where it was cut.
        constexpr std::size_t kShown = 64;
        const std::size_t length = arguments.offendingLength;
        line.Add(arguments.offending, length < kShown ? length : kShown);
        if (length > kShown)
            line.Add(L"\u2026");
        if (tooLong)
            line.Add(texts.tooLong[1]).AddNumber(kFieldLimit).Add(texts.tooLong[2]);
        else
            line.Add(L'\n');
    }
    WriteErr(line.Text());
    WriteErr(refusal.usage ? kUsage : texts.seeHelp);
    return kExitBadCommandLine;
}
