#include "arguments.h"

#include <cwchar>

#include "bounded_text.h"

namespace
{
bool Same(const wchar_t* a, const wchar_t* b)
{
    return std::wcscmp(a, b) == 0;
}

bool StartsWith(const wchar_t* text, const wchar_t* prefix)
{
    return std::wcsncmp(text, prefix, TextLength(prefix)) == 0;
}

bool IsHelp(const wchar_t* word)
{
    return Same(word, L"--help") || Same(word, L"-h") || Same(word, L"/?") || Same(word, L"-?");
}

// Any way of handing over a password: --password, --password=..., -p, -p..., /p, /password,
// /password:... A script that tries must learn at once that this is not the way.
bool IsPasswordOption(const wchar_t* word)
{
    return Same(word, L"--password") || StartsWith(word, L"--password=") ||
           StartsWith(word, L"-p") || Same(word, L"/p") || Same(word, L"/password") ||
           StartsWith(word, L"/password:");
}

void Refuse(Arguments& parsed, ArgumentError error, const wchar_t* word = nullptr,
            std::size_t length = 0)
{
    parsed.command = Command::None;
    parsed.error = error;
    parsed.offending = word;
    parsed.offendingLength = length;
}

// The option's name: the word up to an "=".
std::size_t NameLength(const wchar_t* word)
{
    std::size_t length = 0;
    while (word[length] != L'\0' && word[length] != L'=')
        ++length;
    return length;
}

// A field of at most kFieldLimit characters; false, and nothing kept, when it is longer.
bool CopyField(wchar_t (&out)[kFieldLimit + 1], const wchar_t* text, std::size_t length)
{
    return CopyText(out, kFieldLimit + 1, text, length);
}

class Parser
{
  public:
    Parser(int count, const wchar_t* const* arguments, Arguments& parsed)
        : count_(count), arguments_(arguments), parsed_(parsed)
    {
    }

    void Run()
    {
        if (count_ < 1)
            return Refuse(parsed_, ArgumentError::NoCommand);
        const wchar_t* first = arguments_[0];
        if (IsHelp(first))
            return Finish(Command::Help);
        if (Same(first, L"--version"))
            return Finish(Command::Version);
        if (IsPasswordOption(first))
            return Refuse(parsed_, ArgumentError::PasswordOption);
        if (Same(first, L"status"))
            parsed_.command = Command::Status;
        else if (Same(first, L"set"))
            parsed_.command = Command::Set;
        else if (Same(first, L"remove"))
            parsed_.command = Command::Remove;
        else if (first[0] == L'-' || first[0] == L'/')
            return Refuse(parsed_, ArgumentError::UnknownOption, first, NameLength(first));
        else
            return Refuse(parsed_, ArgumentError::UnknownCommand, first, TextLength(first));

        for (index_ = 1; index_ < count_; ++index_)
        {
            if (!Option(arguments_[index_]))
                return;
        }
        if (parsed_.command == Command::Set && !userGiven_)
            return Refuse(parsed_, ArgumentError::MissingUser);
        if (parsed_.command != Command::Set)
            return;
        if (splitUser_ && domainOptionGiven_)
            return Refuse(parsed_, ArgumentError::DomainTwice);
        if (splitUser_ || domainOptionGiven_)
        {
            parsed_.domainGiven = true;
            CopyField(parsed_.domain, domain_, TextLength(domain_));
        }
    }

  private:
    void Finish(Command command)
    {
        parsed_.command = command;
        parsed_.error = ArgumentError::None;
    }

    // False once the command line is refused (or --help has taken over).
    bool Option(const wchar_t* word)
    {
        if (IsHelp(word))
        {
            Finish(Command::Help);
            return false;
        }
        if (Same(word, L"--version"))
        {
            Finish(Command::Version);
            return false;
        }
        if (IsPasswordOption(word))
        {
            Refuse(parsed_, ArgumentError::PasswordOption);
            return false;
        }
        const Command command = parsed_.command;
        if (command == Command::Status && Same(word, L"--json"))
            return Flag(word, parsed_.json);
        if (command == Command::Set && Same(word, L"--no-verify"))
            return Flag(word, parsed_.noVerify);
        if (command == Command::Set && StartsWith(word, L"--user") &&
            (word[6] == L'\0' || word[6] == L'='))
            return User(word);
        if (command == Command::Set && StartsWith(word, L"--domain") &&
            (word[8] == L'\0' || word[8] == L'='))
            return Domain(word);
        Refuse(parsed_, ArgumentError::UnknownOption, word, NameLength(word));
        return false;
    }

    bool Flag(const wchar_t* word, bool& flag)
    {
        if (flag)
        {
            Refuse(parsed_, ArgumentError::Repeated, word, TextLength(word));
            return false;
        }
        flag = true;
        return true;
    }

    // The value after "=", or the next argument. A next argument that starts with "-" is
    // taken for a forgotten value, not for a name: such a name can be given after "=".
    const wchar_t* Value(const wchar_t* word, bool& seen)
    {
        const std::size_t name = NameLength(word);
        if (seen)
        {
            Refuse(parsed_, ArgumentError::Repeated, word, name);
            return nullptr;
        }
        seen = true;
        if (word[name] == L'=')
            return word + name + 1;
        if (index_ + 1 < count_ && arguments_[index_ + 1][0] != L'-')
            return arguments_[++index_];
        Refuse(parsed_, ArgumentError::MissingValue, word, name);
        return nullptr;
    }

    bool User(const wchar_t* word)
    {
        const wchar_t* value = Value(word, userGiven_);
        if (value == nullptr)
            return false;
        const std::size_t name = NameLength(word);
        const std::size_t length = TextLength(value);
        std::size_t slash = 0;
        while (slash < length && value[slash] != L'\\')
            ++slash;
        const wchar_t* user = value;
        std::size_t userLength = length;
        if (slash < length)
        {
            // DOMAIN\name: both parts must be there, and the name holds no second backslash.
            user = value + slash + 1;
            userLength = length - slash - 1;
            std::size_t second = 0;
            while (second < userLength && user[second] != L'\\')
                ++second;
            if (slash == 0 || second < userLength)
            {
                Refuse(parsed_, ArgumentError::BadUser, word, name);
                return false;
            }
            if (!CopyField(domain_, value, slash))
            {
                Refuse(parsed_, ArgumentError::TooLong, word, name);
                return false;
            }
            splitUser_ = true;
        }
        if (userLength == 0)
        {
            Refuse(parsed_, ArgumentError::EmptyUser, word, name);
            return false;
        }
        if (!CopyField(parsed_.user, user, userLength))
        {
            Refuse(parsed_, ArgumentError::TooLong, word, name);
            return false;
        }
        return true;
    }

    bool Domain(const wchar_t* word)
    {
        const wchar_t* value = Value(word, domainOptionGiven_);
        if (value == nullptr)
            return false;
        // An empty domain is allowed, as in the dialog. Giving it here and in --user as
        // well is refused once all options are read.
        if (splitUser_)
            return true;
        if (!CopyField(domain_, value, TextLength(value)))
        {
            Refuse(parsed_, ArgumentError::TooLong, word, NameLength(word));
            return false;
        }
        return true;
    }

    int count_;
    const wchar_t* const* arguments_;
    Arguments& parsed_;
    int index_ = 0;
    bool userGiven_ = false;
    bool splitUser_ = false;         // --user DOMAIN\name
    bool domainOptionGiven_ = false; // --domain
    wchar_t domain_[kFieldLimit + 1] = {};
};
} // namespace

void ParseArguments(int count, const wchar_t* const* arguments, Arguments& parsed)
{
    parsed = Arguments{};
    Parser(count, arguments, parsed).Run();
}
