#include "arguments.h"

#include <initializer_list>

#include "bounded_text.h"

namespace
{
// Compares a wide word with an ASCII text, optionally ignoring the case of ASCII letters.
bool Same(const wchar_t* word, const char* text, std::size_t length, bool anyCase = false)
{
    for (std::size_t i = 0; i < length; ++i)
    {
        const wchar_t c = anyCase ? AsciiLower(word[i]) : word[i];
        if (c != static_cast<unsigned char>(text[i]))
            return false;
    }
    return true;
}

bool Is(const wchar_t* word, const char* text)
{
    const std::size_t length = TextLength(text);
    return TextLength(word) == length && Same(word, text, length);
}

bool IsHelp(const wchar_t* word)
{
    return Is(word, "--help") || Is(word, "-h") || Is(word, "/?") || Is(word, "-?");
}

bool IsSeparator(wchar_t c)
{
    return c == L'=' || c == L':';
}

// How much of an option may be shown: a long option ("--name", "/name") up to its "=" or
// ":", a short one ("-x") by its letter alone, since short options take their value glued on.
std::size_t NameLength(const wchar_t* word)
{
    if (word[0] == L'-' && word[1] != L'-')
        return word[1] == L'\0' ? 1 : 2;
    std::size_t length = 0;
    while (word[length] != L'\0' && !IsSeparator(word[length]))
        ++length;
    return length;
}

// Every option whose name begins with "p", in any letter case and after any dashes, is a way
// of handing over a password: -p, /p, --password, --passwd, --pass, --pwd, --pw, each also with
// a value after "=" or ":" or glued on (-PS3cret, /p:S3cret, --passwordS3cret, --pwS3cret) or
// with dashes inside (--pass-word). A script that tries must learn at once that this is not the
// way, and the word is never shown. So no option of the program may begin with "p": a unit
// test checks every row of the table, and a new option that does must take another name.
bool IsPasswordOption(const wchar_t* word)
{
    if (word[0] != L'-' && word[0] != L'/')
        return false;
    std::size_t i = 1;
    while (word[i] == L'-')
        ++i;
    return word[i] == L'p' || word[i] == L'P';
}

// A field of at most kFieldLimit characters; false, and nothing kept, when it is longer.
bool CopyField(wchar_t (&out)[kFieldLimit + 1], const wchar_t* text, std::size_t length)
{
    return CopyText(out, kFieldLimit + 1, text, length);
}

constexpr unsigned For(Command command)
{
    return 1u << static_cast<unsigned>(command);
}

class Parser;

// One row per option: its name, the commands that take it, and either the flag it sets or
// the member that takes its value. A new option is a row.
struct Option
{
    const char* name;
    unsigned commands; // For(...) of each command that takes it
    bool Arguments::*flag;
    bool (Parser::*take)(const wchar_t* value, const wchar_t* word);
};

class Parser
{
  public:
    Parser(int count, const wchar_t* const* arguments, Arguments& parsed)
        : count_(count), arguments_(arguments), parsed_(parsed)
    {
    }

    void Run();

    bool User(const wchar_t* value, const wchar_t* word);
    bool Domain(const wchar_t* value, const wchar_t* word);
    bool LogonCount(const wchar_t* value, const wchar_t* word);

  private:
    void Finish(Command command)
    {
        parsed_.command = command;
        parsed_.error = ArgumentError::None;
    }

    // Always false, so that a caller can return it: the command line is refused.
    bool Refuse(ArgumentError error, const wchar_t* word = nullptr, std::size_t length = 0)
    {
        parsed_.command = Command::None;
        parsed_.error = error;
        parsed_.offending = word;
        parsed_.offendingLength = length;
        return false;
    }

    bool Word(const wchar_t* word);
    bool DscOperation();
    bool RefuseUnknown(const wchar_t* word, int position);
    bool Take(const Option& option, std::size_t row, const wchar_t* word);
    void Settle();

    int count_;
    const wchar_t* const* arguments_;
    Arguments& parsed_;
    int index_ = 0;
    unsigned seen_ = 0; // one bit per option row
    bool splitUser_ = false;
    bool domainOption_ = false;
    wchar_t domain_[kFieldLimit + 1] = {};
};

const Option kOptions[] = {
    {"--json", For(Command::Status) | For(Command::Set) | For(Command::Remove), &Arguments::json,
     nullptr},
    {"--check", For(Command::Set) | For(Command::Remove) | For(Command::Dsc), &Arguments::check,
     nullptr},
    {"--no-verify", For(Command::Set), &Arguments::noVerify, nullptr},
    {"--user", For(Command::Set), nullptr, &Parser::User},
    {"--domain", For(Command::Set), nullptr, &Parser::Domain},
    {"--logon-count", For(Command::Set), nullptr, &Parser::LogonCount},
};
static_assert(sizeof kOptions / sizeof kOptions[0] <= 32, "one bit per option in seen_");

// Whether an option's name (its first `name` characters) is longer than a name the program
// knows and begins with it, in any letter case: what follows may be a value glued on.
bool GluedToKnownName(const wchar_t* word, std::size_t name)
{
    for (std::size_t row = 0; OptionName(row) != nullptr; ++row)
    {
        const std::size_t length = TextLength(OptionName(row));
        if (name > length && Same(word, OptionName(row), length, true))
            return true;
    }
    return false;
}

// An unknown option is shown only when it looks like an option's name: "-" or "/", then ASCII
// letters, digits and dashes, at most kShownNameLimit characters up to its "=" or ":", and no
// known name with something glued on. Anything else may be a password typed in the wrong place.
bool LooksLikeOptionName(const wchar_t* word, std::size_t name)
{
    constexpr std::size_t kShownNameLimit = 24;
    if (name > kShownNameLimit || GluedToKnownName(word, name))
        return false;
    for (std::size_t i = 1; i < name; ++i)
    {
        const wchar_t c = word[i];
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
              c == L'-'))
            return false;
    }
    return true;
}

// Always false: an unknown option, named when it looks like one, otherwise by its position.
bool Parser::RefuseUnknown(const wchar_t* word, int position)
{
    const std::size_t name = NameLength(word);
    if (LooksLikeOptionName(word, name))
        return Refuse(ArgumentError::UnknownOption, word, name);
    parsed_.position = position;
    return Refuse(ArgumentError::UnknownOption);
}

void Parser::Run()
{
    if (count_ < 1)
    {
        Refuse(ArgumentError::NoCommand);
        return;
    }
    const wchar_t* first = arguments_[0];
    if (IsHelp(first))
        return Finish(Command::Help);
    if (Is(first, "--version"))
        return Finish(Command::Version);
    if (IsPasswordOption(first))
    {
        Refuse(ArgumentError::PasswordOption);
        return;
    }
    if (Is(first, "status"))
        parsed_.command = Command::Status;
    else if (Is(first, "set"))
        parsed_.command = Command::Set;
    else if (Is(first, "remove"))
        parsed_.command = Command::Remove;
    else if (Is(first, "dsc"))
        parsed_.command = Command::Dsc;
    else if (first[0] == L'-' || first[0] == L'/')
    {
        RefuseUnknown(first, 1);
        return;
    }
    else
    {
        // The command word is named whole: it is what the user meant as a command.
        Refuse(ArgumentError::UnknownCommand, first, TextLength(first));
        return;
    }
    parsed_.requested = parsed_.command;

    index_ = 1;
    if (parsed_.command == Command::Dsc && !DscOperation())
        return;
    for (; index_ < count_; ++index_)
    {
        if (!Word(arguments_[index_]))
            return;
    }
    Settle();
}

// The word after dsc: the operation, as the resource manifest names it. False once the
// command line is refused (or --help has taken over).
bool Parser::DscOperation()
{
    const struct
    {
        const char* word;
        DscMethod method;
    } methods[] = {{"get", DscMethod::Get},
                   {"set", DscMethod::Set},
                   {"test", DscMethod::Test},
                   {"export", DscMethod::Export}};
    const wchar_t* word = index_ < count_ ? arguments_[index_] : L"";
    for (const auto& method : methods)
    {
        if (Is(word, method.word))
        {
            parsed_.dscMethod = method.method;
            ++index_;
            return true;
        }
    }
    if (word[0] == L'-' || word[0] == L'/')
        return Word(word) && Refuse(ArgumentError::NoOperation);
    return Refuse(ArgumentError::NoOperation);
}

// False once the command line is refused (or --help has taken over).
bool Parser::Word(const wchar_t* word)
{
    if (IsHelp(word))
    {
        Finish(Command::Help);
        return false;
    }
    if (Is(word, "--version"))
    {
        Finish(Command::Version);
        return false;
    }
    if (IsPasswordOption(word))
        return Refuse(ArgumentError::PasswordOption);
    if (word[0] != L'-' && word[0] != L'/')
    {
        parsed_.position = index_ + 1;
        return Refuse(ArgumentError::UnexpectedWord);
    }
    const std::size_t name = NameLength(word);
    // Of the dsc operations, only set has a dry run.
    const bool dscDryRun = parsed_.command != Command::Dsc || parsed_.dscMethod == DscMethod::Set;
    for (std::size_t row = 0; row < sizeof kOptions / sizeof kOptions[0]; ++row)
    {
        const Option& option = kOptions[row];
        if ((option.commands & For(parsed_.command)) != 0 && TextLength(option.name) == name &&
            Same(word, option.name, name) && (option.flag != &Arguments::check || dscDryRun))
            return Take(option, row, word);
    }
    return RefuseUnknown(word, index_ + 1);
}

bool Parser::Take(const Option& option, std::size_t row, const wchar_t* word)
{
    const std::size_t name = NameLength(word);
    if ((seen_ & (1u << row)) != 0)
        return Refuse(ArgumentError::Repeated, word, name);
    seen_ |= 1u << row;
    if (option.flag != nullptr)
    {
        if (word[name] != L'\0')
            return Refuse(ArgumentError::UnknownOption, word, name); // a flag takes no value
        parsed_.*option.flag = true;
        return true;
    }
    // The value after "=" or ":", or the next argument. A next argument that starts with "-"
    // is taken for a forgotten value, not for a value: such a value can be given after "=".
    const wchar_t* value = nullptr;
    if (word[name] != L'\0')
        value = word + name + 1;
    else if (index_ + 1 < count_ && arguments_[index_ + 1][0] != L'-')
        value = arguments_[++index_];
    else
        return Refuse(ArgumentError::MissingValue, word, name);
    return (this->*option.take)(value, word);
}

bool Parser::User(const wchar_t* value, const wchar_t* word)
{
    bool split = false;
    const ArgumentError error = SplitUser(value, parsed_.user, domain_, split);
    if (error != ArgumentError::None)
        return Refuse(error, word, NameLength(word));
    splitUser_ = split;
    return true;
}

bool Parser::Domain(const wchar_t* value, const wchar_t* word)
{
    domainOption_ = true;
    // An empty domain is allowed, as in the dialog. Giving it here and in --user as well is
    // refused once all options are read.
    if (splitUser_)
        return true;
    if (!CopyField(domain_, value, TextLength(value)))
        return Refuse(ArgumentError::TooLong, word, NameLength(word));
    return true;
}

// Decimal digits only: no sign, no blank, no digit of another script.
bool Parser::LogonCount(const wchar_t* value, const wchar_t* word)
{
    std::uint32_t count = 0;
    std::size_t i = 0;
    for (; value[i] >= L'0' && value[i] <= L'9' && count <= kLogonCountLimit; ++i)
        count = count * 10 + static_cast<std::uint32_t>(value[i] - L'0');
    if (value[i] != L'\0' || count < 1 || count > kLogonCountLimit)
        return Refuse(ArgumentError::BadLogonCount, word, NameLength(word));
    parsed_.logonCount = count;
    return true;
}

// What only the whole command line can tell.
void Parser::Settle()
{
    if (parsed_.command != Command::Set)
        return;
    if (parsed_.user[0] == L'\0')
    {
        Refuse(ArgumentError::MissingUser);
        return;
    }
    if (splitUser_ && domainOption_)
    {
        Refuse(ArgumentError::DomainTwice);
        return;
    }
    if (splitUser_ || domainOption_)
    {
        parsed_.domainGiven = true;
        CopyField(parsed_.domain, domain_, TextLength(domain_));
    }
}
} // namespace

ArgumentError SplitUser(const wchar_t* value, wchar_t (&user)[kFieldLimit + 1],
                        wchar_t (&domain)[kFieldLimit + 1], bool& split)
{
    const std::size_t length = TextLength(value);
    std::size_t slash = 0;
    while (slash < length && value[slash] != L'\\')
        ++slash;
    const wchar_t* name = value;
    std::size_t nameLength = length;
    split = slash < length;
    if (split)
    {
        // DOMAIN\name: both parts must be there, and the name holds no second backslash.
        name = value + slash + 1;
        nameLength = length - slash - 1;
        std::size_t second = 0;
        while (second < nameLength && name[second] != L'\\')
            ++second;
        if (slash == 0 || second < nameLength)
            return ArgumentError::BadUser;
        if (!CopyField(domain, value, slash))
            return ArgumentError::TooLong;
    }
    if (nameLength == 0)
        return ArgumentError::EmptyUser;
    if (!CopyField(user, name, nameLength))
        return ArgumentError::TooLong;
    return ArgumentError::None;
}

void ParseArguments(int count, const wchar_t* const* arguments, Arguments& parsed)
{
    parsed = Arguments{};
    Parser(count, arguments, parsed).Run();
    // A script that asked for JSON gets its refusal as JSON too, wherever --json stood, and
    // the refusal says whether it asked for a dry run.
    for (int i = 0; i < count && parsed.command == Command::None; ++i)
    {
        parsed.json = parsed.json || Is(arguments[i], "--json");
        parsed.check = parsed.check || Is(arguments[i], "--check");
    }
}

const char* OptionName(std::size_t row)
{
    const std::size_t rows = sizeof kOptions / sizeof kOptions[0];
    if (row < rows)
        return kOptions[row].name;
    return row == rows ? "--help" : row == rows + 1 ? "--version" : nullptr;
}
