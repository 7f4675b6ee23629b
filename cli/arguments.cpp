#include "arguments.h"

#include <initializer_list>

#include "bounded_text.h"
#include "status_verdict.h"

const CommandRow kCommands[] = {
    {"status", Command::Status, nullptr},  {"set", Command::Set, nullptr},
    {"remove", Command::Remove, nullptr},  {"fix", Command::Fix, "[NAME...]"},
    {"keep", Command::Keep, "on|off|run"}, {"dsc", Command::Dsc, "get|test|export|set"},
    {"help", Command::Help, "[COMMAND]"},  {"version", Command::Version, nullptr},
};
const std::size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

const CommandRow* CommandRowOf(Command command)
{
    for (const CommandRow& row : kCommands)
    {
        if (row.command == command)
            return &row;
    }
    return nullptr;
}

std::size_t EditDistance(const wchar_t* word, std::size_t length, const char* name,
                         std::size_t most)
{
    // Optimal string alignment over two short words: three rows of the table suffice.
    constexpr std::size_t kLongest = 32;
    const std::size_t names = TextLength(name);
    if (length >= kLongest || names >= kLongest)
        return most + 1;
    std::size_t rows[3][kLongest + 1] = {};
    for (std::size_t j = 0; j <= names; ++j)
        rows[0][j] = j;
    for (std::size_t i = 1; i <= length; ++i)
    {
        std::size_t* row = rows[i % 3];
        const std::size_t* above = rows[(i + 2) % 3];
        const std::size_t* twoAbove = rows[(i + 1) % 3];
        row[0] = i;
        for (std::size_t j = 1; j <= names; ++j)
        {
            const wchar_t a = AsciiLower(word[i - 1]);
            const auto b = static_cast<wchar_t>(name[j - 1]);
            std::size_t best = above[j - 1] + (a == b ? 0 : 1);
            best = above[j] + 1 < best ? above[j] + 1 : best;
            best = row[j - 1] + 1 < best ? row[j - 1] + 1 : best;
            if (i > 1 && j > 1 && a == static_cast<wchar_t>(name[j - 2]) &&
                AsciiLower(word[i - 2]) == b && twoAbove[j - 2] + 1 < best)
                best = twoAbove[j - 2] + 1;
            row[j] = best;
        }
    }
    const std::size_t distance = rows[length % 3][names];
    return distance > most ? most + 1 : distance;
}

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

bool IsOption(const wchar_t* word)
{
    return word[0] == L'-' || word[0] == L'/';
}

bool IsSeparator(wchar_t c)
{
    return c == L'=' || c == L':';
}

// The one option that begins with "p" and is no password: a file name is no secret. Taken by
// its exact name alone, its value the next argument; any other spelling is a password option.
constexpr char kPasswordFile[] = "--password-file";

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
// way, and the word is never shown. So no option of the program may begin with "p" but
// --password-file, by its exact name: a unit test checks every row of the table.
bool IsPasswordOption(const wchar_t* word)
{
    if (!IsOption(word) || Is(word, kPasswordFile))
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

// One row per option: how help shows it, the commands that take it, and either the flag it
// sets or the member that takes its value. A new option is a row.
struct Option
{
    OptionHelp help;
    unsigned commands; // For(...) of each command that takes it
    bool Arguments::*flag;
    bool (Parser::*take)(const wchar_t* value, const wchar_t* word);
    bool numeric; // its value may begin with "-": a negative number is out of range, not missing
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
    bool PasswordFile(const wchar_t* value, const wchar_t* word);

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
    bool KeepAction();
    void HelpTopic();
    bool RefuseUnknown(const wchar_t* word, int position);
    bool RefuseCommand(const wchar_t* word, int position);
    bool CauseName(const wchar_t* word);
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

constexpr unsigned kChanges =
    For(Command::Set) | For(Command::Remove) | For(Command::Fix) | For(Command::Keep);

const Option kOptions[] = {
    {{"--user", "[DOMAIN\\]NAME", true}, For(Command::Set), nullptr, &Parser::User, false},
    {{"--domain", "NAME", false}, For(Command::Set), nullptr, &Parser::Domain, false},
    {{kPasswordFile, "PATH", false}, For(Command::Set), nullptr, &Parser::PasswordFile, false},
    {{"--logon-count", "N", false}, For(Command::Set), nullptr, &Parser::LogonCount, true},
    {{"--no-verify", nullptr, false}, For(Command::Set), &Arguments::noVerify, nullptr, false},
    {{"--check", nullptr, false}, kChanges | For(Command::Dsc), &Arguments::check, nullptr, false},
    {{"--json", nullptr, false}, kChanges | For(Command::Status), &Arguments::json, nullptr, false},
};
static_assert(sizeof kOptions / sizeof kOptions[0] == kOptionCount, "one help row per option");
static_assert(kOptionCount <= 32, "one bit per option in seen_");

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

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// An unknown option is shown only when it looks like an option's name: "-" or "/", then ASCII
// letters, digits and dashes, at most kShownNameLimit characters up to its "=" or ":", and no
// known name with something glued on. Anything else may be a password typed in the wrong place.
constexpr std::size_t kShownNameLimit = 24;

bool LooksLikeOptionName(const wchar_t* word, std::size_t name)
{
    if (name > kShownNameLimit || GluedToKnownName(word, name))
        return false;
    for (std::size_t i = 1; i < name; ++i)
    {
        const wchar_t c = word[i];
        if (!(IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'-'))
            return false;
    }
    return true;
}

// A command word is shown only when it looks like one: ASCII letters and dashes, at most
// kShownNameLimit of them.
bool LooksLikeCommandWord(const wchar_t* word)
{
    std::size_t i = 0;
    for (; word[i] != L'\0'; ++i)
    {
        if (i >= kShownNameLimit || !(IsAsciiLetter(word[i]) || word[i] == L'-'))
            return false;
    }
    return i > 0;
}

const CommandRow* CommandNamed(const wchar_t* word)
{
    for (const CommandRow& row : kCommands)
    {
        if (IsAsciiNameAnyCase(word, row.word))
            return &row;
    }
    return nullptr;
}

// The one command a misspelled word is close to: a letter added, dropped, replaced or two
// swapped, twice at most (once for a word of three letters); none when two are that close.
const char* CloseCommand(const wchar_t* word)
{
    const std::size_t length = TextLength(word);
    const char* close = nullptr;
    for (const CommandRow& row : kCommands)
    {
        const std::size_t most = TextLength(row.word) <= 3 ? 1 : 2;
        if (EditDistance(word, length, row.word, most) <= most)
        {
            if (close != nullptr)
                return nullptr;
            close = row.word;
        }
    }
    return close;
}

// The long option that a word with a single "-" or a "/" spells ("-json", "/check"), up to
// its "=" or ":"; null when it spells none.
const char* SpelledLongOption(const wchar_t* word, std::size_t& length)
{
    if (word[0] == L'-' && word[1] == L'-')
        return nullptr;
    length = 1;
    while (word[length] != L'\0' && !IsSeparator(word[length]))
        ++length;
    for (const Option& option : kOptions)
    {
        const std::size_t name = TextLength(option.help.name) - 2;
        if (length - 1 == name && Same(word + 1, option.help.name + 2, name, true))
            return option.help.name;
    }
    return nullptr;
}

// Always false: an unknown option, named when it looks like one, otherwise by its position.
bool Parser::RefuseUnknown(const wchar_t* word, int position)
{
    std::size_t spelled = 0;
    if (const char* option = SpelledLongOption(word, spelled))
    {
        Refuse(ArgumentError::UnknownOption, word, spelled);
        parsed_.suggestion = option;
        return false;
    }
    const std::size_t name = NameLength(word);
    if (LooksLikeOptionName(word, name))
        return Refuse(ArgumentError::UnknownOption, word, name);
    parsed_.position = position;
    return Refuse(ArgumentError::UnknownOption);
}

// Always false: an unknown command, named (with the command it is close to) when it looks like
// a command word, otherwise by its position.
bool Parser::RefuseCommand(const wchar_t* word, int position)
{
    if (!LooksLikeCommandWord(word))
    {
        parsed_.position = position;
        return Refuse(ArgumentError::UnknownCommand);
    }
    Refuse(ArgumentError::UnknownCommand, word, TextLength(word));
    parsed_.suggestion = CloseCommand(word);
    return false;
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
    if (IsOption(first))
    {
        RefuseUnknown(first, 1);
        return;
    }
    const CommandRow* row = CommandNamed(first);
    if (row == nullptr)
    {
        RefuseCommand(first, 1);
        return;
    }
    parsed_.command = row->command;
    parsed_.requested = row->command;

    index_ = 1;
    if (parsed_.command == Command::Help)
        return HelpTopic();
    if (parsed_.command == Command::Dsc && !DscOperation())
        return;
    if (parsed_.command == Command::Keep && !KeepAction())
        return;
    for (; index_ < count_; ++index_)
    {
        if (!Word(arguments_[index_]))
            return;
    }
    Settle();
}

// help [COMMAND]: the command whose help is asked for, and nothing after it.
void Parser::HelpTopic()
{
    if (index_ < count_ && !IsOption(arguments_[index_]))
    {
        const wchar_t* word = arguments_[index_];
        const CommandRow* row = CommandNamed(word);
        if (row == nullptr)
        {
            RefuseCommand(word, index_ + 1);
            return;
        }
        parsed_.topic = row->command;
        ++index_;
    }
    for (; index_ < count_; ++index_)
    {
        if (!Word(arguments_[index_]))
            return;
    }
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
        if (IsAsciiNameAnyCase(word, method.word))
        {
            parsed_.dscMethod = method.method;
            ++index_;
            return true;
        }
    }
    if (IsOption(word))
        return Word(word) && Refuse(ArgumentError::NoOperation);
    return Refuse(ArgumentError::NoOperation);
}

// The word after keep: on, off or run. False once the command line is refused (or --help has
// taken over).
bool Parser::KeepAction()
{
    const struct
    {
        const char* word;
        ::KeepAction action;
    } actions[] = {
        {"on", ::KeepAction::On}, {"off", ::KeepAction::Off}, {"run", ::KeepAction::Run}};
    const wchar_t* word = index_ < count_ ? arguments_[index_] : L"";
    for (const auto& action : actions)
    {
        if (IsAsciiNameAnyCase(word, action.word))
        {
            parsed_.keepAction = action.action;
            ++index_;
            return true;
        }
    }
    if (IsOption(word))
        return Word(word) && Refuse(ArgumentError::NoOperation);
    return Refuse(ArgumentError::NoOperation);
}

// False once the command line is refused (or --help has taken over).
bool Parser::Word(const wchar_t* word)
{
    if (IsHelp(word))
    {
        // Help about the command it follows: help --help is help's own.
        if (parsed_.command != Command::Help || parsed_.topic == Command::None)
            parsed_.topic = parsed_.command;
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
    if (!IsOption(word) && parsed_.command == Command::Fix)
        return CauseName(word);
    if (!IsOption(word))
    {
        parsed_.position = index_ + 1;
        return Refuse(ArgumentError::UnexpectedWord);
    }
    const std::size_t name = NameLength(word);
    // Of the dsc operations, only set has a dry run.
    const bool dscDryRun = parsed_.command != Command::Dsc || parsed_.dscMethod == DscMethod::Set;
    for (std::size_t row = 0; row < kOptionCount; ++row)
    {
        const Option& option = kOptions[row];
        if (TextLength(option.help.name) != name || !Same(word, option.help.name, name))
            continue;
        if ((option.commands & For(parsed_.command)) != 0 &&
            (option.flag != &Arguments::check || dscDryRun))
            return Take(option, row, word);
        // An option of another command (or operation): named, and said to be that.
        Refuse(ArgumentError::UnknownOption, word, name);
        parsed_.other = true;
        return false;
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
            return Refuse(ArgumentError::ValueGiven, word, name);
        parsed_.*option.flag = true;
        return true;
    }
    // The value after "=" or ":", or the next argument. A next argument that starts with "-"
    // is taken for a forgotten value, not for a value: such a value can be given after "=".
    // A number's minus sign is no option, though: it is a number out of range.
    const wchar_t* value = nullptr;
    const wchar_t* next = index_ + 1 < count_ ? arguments_[index_ + 1] : nullptr;
    if (word[name] != L'\0')
        value = word + name + 1;
    else if (next != nullptr &&
             (next[0] != L'-' || (option.numeric && next[1] >= L'0' && next[1] <= L'9')))
        value = arguments_[++index_];
    else
        return Refuse(ArgumentError::MissingValue, word, name);
    return (this->*option.take)(value, word);
}

// fix NAME: a cause by the name status gives it, in any letter case. A word that names none
// is shown only when it looks like a name (ASCII letters, digits and dashes, 32 at most), with
// the one cause it is close to; otherwise by its position.
bool Parser::CauseName(const wchar_t* word)
{
    const std::size_t length = TextLength(word);
    const char* close = nullptr;
    bool shown = length <= 32;
    for (std::size_t i = 0; i < length; ++i)
        shown = shown &&
                (IsAsciiLetter(word[i]) || word[i] == L'-' || (word[i] >= L'0' && word[i] <= L'9'));
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if (IsAsciiNameAnyCase(word, kCauses[i].id))
        {
            const unsigned int bit = 1u << i;
            if ((parsed_.fixCauses & bit) != 0)
                return Refuse(ArgumentError::Repeated, word, length);
            parsed_.fixCauses |= bit;
            return true;
        }
        if (EditDistance(word, length, kCauses[i].id, 2) <= 2)
            close = close == nullptr ? kCauses[i].id : "";
    }
    if (!shown)
    {
        parsed_.position = index_ + 1;
        return Refuse(ArgumentError::UnknownCause);
    }
    Refuse(ArgumentError::UnknownCause, word, length);
    parsed_.suggestion = close != nullptr && close[0] != '\0' ? close : nullptr;
    return false;
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

// Decimal digits only, a minus sign at most (which is out of range): no plus, no blank, no
// digit of another script.
bool Parser::LogonCount(const wchar_t* value, const wchar_t* word)
{
    std::uint32_t count = 0;
    const std::size_t first = value[0] == L'-' ? 1 : 0;
    std::size_t i = first;
    for (; value[i] >= L'0' && value[i] <= L'9'; ++i)
    {
        if (count <= kLogonCountLimit)
            count = count * 10 + static_cast<std::uint32_t>(value[i] - L'0');
    }
    if (value[i] != L'\0' || i == first)
        return Refuse(ArgumentError::BadLogonCount, word, NameLength(word));
    if (first == 1 || count < 1 || count > kLogonCountLimit)
        return Refuse(ArgumentError::OutOfRange, word, NameLength(word));
    parsed_.logonCount = count;
    return true;
}

bool Parser::PasswordFile(const wchar_t* value, const wchar_t* word)
{
    if (value[0] == L'\0')
        return Refuse(ArgumentError::MissingValue, word, NameLength(word));
    parsed_.passwordFile = value;
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

const OptionHelp& OptionRow(std::size_t row)
{
    return kOptions[row].help;
}

bool TakesOption(Command command, std::size_t row)
{
    return (kOptions[row].commands & For(command)) != 0;
}

const char* OptionName(std::size_t row)
{
    if (row < kOptionCount)
        return kOptions[row].help.name;
    return row == kOptionCount ? "--help" : row == kOptionCount + 1 ? "--version" : nullptr;
}
