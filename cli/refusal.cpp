#include "refusal.h"

#include "change_json.h"

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
    case ArgumentError::BadLogonCount:
        return {&CliTexts::badLogonCount, false, false};
    case ArgumentError::NoOperation:
        return {&CliTexts::noOperation, false, true};
    case ArgumentError::UnexpectedWord:
    case ArgumentError::TooLong:
    case ArgumentError::None:
        break;
    }
    return {nullptr, true, false};
}
} // namespace

void ComposeRefusal(const Arguments& arguments, const CliTexts& texts, TextBuffer& out)
{
    out.Add(L"tarvelin-cli: ");
    const Refusal refusal = RefusalFor(arguments.error);
    const bool tooLong = arguments.error == ArgumentError::TooLong;
    if (arguments.error == ArgumentError::UnexpectedWord)
    {
        out.Add(texts.unexpectedWord[0]).AddNumber(static_cast<unsigned>(arguments.position));
        out.Add(texts.unexpectedWord[1]);
    }
    else if (tooLong)
        out.Add(texts.tooLong[0]);
    else if (refusal.sentence != nullptr)
        out.Add(texts.*refusal.sentence);
    if (arguments.error == ArgumentError::UnknownOption && arguments.offending == nullptr)
    {
        // An option that does not look like one is told by its position alone.
        out.Add(texts.unexpectedWord[0]).AddNumber(static_cast<unsigned>(arguments.position));
        out.Add(L'\n');
    }
    else if (refusal.word && arguments.offending != nullptr)
    {
        // A word of any length is shown up to a line's worth, marked where it was cut.
        constexpr std::size_t kShown = 64;
        const std::size_t length = arguments.offendingLength;
        out.Add(arguments.offending, length < kShown ? length : kShown);
        if (length > kShown)
            out.Add(L"\u2026");
        if (tooLong)
            out.Add(texts.tooLong[1]).AddNumber(kFieldLimit).Add(texts.tooLong[2]);
        else
            out.Add(L'\n');
    }
    out.Add(refusal.usage ? kUsage : texts.seeHelp);
}

const char* RefusalReason(ArgumentError error)
{
    // By ArgumentError.
    const char* const reasons[] = {
        nullptr,         "no-command",   "unknown-command", "unknown-option",  "unexpected-word",
        "missing-value", "repeated",     "password-option", "missing-user",    "empty-user",
        "bad-user",      "domain-twice", "too-long",        "bad-logon-count", "no-operation",
    };
    return reasons[static_cast<int>(error)];
}

void ComposeRefusalJson(const Arguments& arguments, TextBuffer& out)
{
    // The command is named when it was understood; never any word of the command line.
    const char* const commands[] = {nullptr, nullptr, nullptr, "status", "set", "remove", "dsc"};
    ComposeErrorJson(commands[static_cast<int>(arguments.requested)], arguments.check, "usage", 0,
                     RefusalReason(arguments.error), out);
}
