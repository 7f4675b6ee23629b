#include "refusal.h"

#include "bounded_text.h"
#include "change_json.h"
#include "help_text.h"

namespace
{
// A word of the command line as the refusal shows it: up to a line's worth, marked where it
// was cut (the parser names only words that look like names, so this is a safety margin).
TextBuffer& AddShown(TextBuffer& out, const wchar_t* word, std::size_t length)
{
    constexpr std::size_t kShown = 64;
    out.Add(word, length < kShown ? length : kShown);
    return length > kShown ? out.Add(L"\u2026") : out;
}

// The command as help names it ("dsc get" for an operation), for the sentences about it.
void AddCommandWords(TextBuffer& out, const Arguments& arguments)
{
    const CommandRow* row = CommandRowOf(arguments.requested);
    if (row == nullptr)
        return;
    out.Add(row->word);
    const char* const methods[] = {nullptr, " get", " set", " test", " export"};
    if (arguments.requested == Command::Dsc && arguments.dscMethod != DscMethod::None)
        out.Add(methods[static_cast<int>(arguments.dscMethod)]);
    const char* const actions[] = {nullptr, " on", " off", " run"};
    if (arguments.requested == Command::Keep && arguments.keepAction != KeepAction::None)
        out.Add(actions[static_cast<int>(arguments.keepAction)]);
}

// Whether the command line was not understood as a whole, so that the usage lines follow.
bool ShowsUsage(ArgumentError error)
{
    return error == ArgumentError::NoCommand || error == ArgumentError::UnknownCommand ||
           error == ArgumentError::UnknownOption || error == ArgumentError::NoOperation;
}

// The sentence of a refusal that names nothing of the command line, or null.
const char* CliTexts::*PlainSentence(ArgumentError error)
{
    switch (error)
    {
    case ArgumentError::NoCommand:
        return &CliTexts::noCommand;
    case ArgumentError::PasswordOption:
        return &CliTexts::passwordOption;
    case ArgumentError::MissingUser:
        return &CliTexts::missingUser;
    case ArgumentError::EmptyUser:
        return &CliTexts::emptyUser;
    case ArgumentError::BadUser:
        return &CliTexts::badUser;
    case ArgumentError::DomainTwice:
        return &CliTexts::domainTwice;
    case ArgumentError::BadLogonCount:
        return &CliTexts::badLogonCount;
    case ArgumentError::OutOfRange:
        return &CliTexts::logonCountRange;
    case ArgumentError::NoOperation:
        return &CliTexts::noOperation;
    case ArgumentError::MissingValue:
        return &CliTexts::missingValue;
    case ArgumentError::ValueGiven:
        return &CliTexts::valueGiven;
    case ArgumentError::Repeated:
        return &CliTexts::repeated;
    case ArgumentError::UnknownCommand:
    case ArgumentError::UnknownOption:
    case ArgumentError::UnknownCause:
    case ArgumentError::UnexpectedWord:
    case ArgumentError::TooLong:
    case ArgumentError::None:
        break;
    }
    return nullptr;
}
} // namespace

void ComposeRefusal(const Arguments& arguments, const CliTexts& texts, TextBuffer& out)
{
    out.Add(L"tarvelin-cli: ");
    wchar_t storage[64];
    TextBuffer detail(storage, CountOf(storage));
    wchar_t wordStorage[80];
    TextBuffer word(wordStorage, CountOf(wordStorage));
    if (arguments.offending != nullptr)
        AddShown(word, arguments.offending, arguments.offendingLength);
    if (arguments.offending == nullptr)
        detail.AddNumber(static_cast<unsigned>(arguments.position));

    const ArgumentError error = arguments.error;
    // The sentences that name a word, and those that name its position instead.
    const char* const naming[] = {texts.unknownCommand, texts.unknownOption, texts.unknownCause};
    const char* const placed[] = {texts.unknownCommandAt, texts.unknownOptionAt,
                                  texts.unknownCauseAt};
    const int unknown = error == ArgumentError::UnknownCommand  ? 0
                        : error == ArgumentError::UnknownOption ? 1
                        : error == ArgumentError::UnknownCause  ? 2
                                                                : -1;
    if (unknown >= 0)
    {
        if (arguments.offending == nullptr)
            AddFilled(out, placed[unknown], {FillerOf(detail)});
        else if (arguments.other)
        {
            AddCommandWords(detail, arguments);
            AddFilled(out, texts.otherOption, {FillerOf(detail), FillerOf(word)});
        }
        else
            AddFilled(out, naming[unknown], {FillerOf(word)});
        if (arguments.suggestion != nullptr)
        {
            wchar_t suggested[32];
            TextBuffer suggestion(suggested, CountOf(suggested));
            AddFilled(out, texts.didYouMean, {FillerOf(suggestion.Add(arguments.suggestion))});
        }
        out.Add(L'\n');
    }
    else if (error == ArgumentError::UnexpectedWord)
        AddFilled(out, texts.unexpectedWord, {FillerOf(detail)});
    else if (error == ArgumentError::TooLong)
        AddFilled(out, texts.tooLong, {FillerOf(word), FillerOf(detail.AddNumber(kFieldLimit))});
    else if (const char* CliTexts::*sentence = PlainSentence(error))
        AddFilled(out, texts.*sentence, {FillerOf(word)});

    // A command that was understood points at its own help; otherwise the commands are named.
    const Command command =
        error == ArgumentError::UnknownCommand ? Command::None : arguments.requested;
    if (ShowsUsage(error))
        AddUsage(out, texts, command);
    if (command == Command::None || command == Command::Help)
        out.Add(texts.moreHelp).Add(L'\n');
    else
    {
        wchar_t named[16];
        TextBuffer commandWord(named, CountOf(named));
        AddFilled(out, texts.commandHelp, {FillerOf(commandWord.Add(CommandRowOf(command)->word))});
    }
}

const char* RefusalReason(ArgumentError error)
{
    // By ArgumentError.
    const char* const reasons[] = {
        nullptr,         "no-command",      "unknown-command", "unknown-option",  "unexpected-word",
        "missing-value", "repeated",        "password-option", "missing-user",    "empty-user",
        "bad-user",      "domain-twice",    "too-long",        "bad-logon-count", "no-operation",
        "value-given",   "bad-logon-count",
    };
    return reasons[static_cast<int>(error)];
}

void ComposeRefusalJson(const Arguments& arguments, TextBuffer& out)
{
    // The command is named when it was understood; never any word of the command line.
    const CommandRow* row = CommandRowOf(arguments.requested);
    ComposeErrorJson(row != nullptr ? row->word : nullptr, arguments.check, "usage", 0,
                     RefusalReason(arguments.error), out);
}
