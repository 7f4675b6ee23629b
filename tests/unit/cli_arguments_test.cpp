#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "refusal.h"

namespace
{
Arguments Parse(const std::vector<std::wstring>& words)
{
    std::vector<const wchar_t*> pointers;
    pointers.reserve(words.size());
    for (const std::wstring& word : words)
        pointers.push_back(word.c_str());
    Arguments parsed;
    ParseArguments(static_cast<int>(pointers.size()), pointers.data(), parsed);
    return parsed;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::string Show(const std::vector<std::wstring>& words)
{
    std::string shown;
    for (const std::wstring& word : words)
        shown += "[" + Narrow(word) + "]";
    return shown;
}

const std::wstring kLongest(kFieldLimit, L'x');
const std::wstring kTooLong(kFieldLimit + 1, L'x');
const std::wstring kName24 = L"--" + std::wstring(22, L'x');
} // namespace

TEST(CliArguments, EveryRefusalNamesItsCauseAndNothingElse)
{
    const struct
    {
        std::vector<std::wstring> words;
        ArgumentError error;
        std::wstring offending;           // what the message shows; never an option's "=value"
        int position = 0;                 // a stray word is named by its position only
        const char* suggestion = nullptr; // "did you mean ...?"
    } cases[] = {
        {{}, ArgumentError::NoCommand, L""},
        {{L"stat"}, ArgumentError::UnknownCommand, L"stat", 0, "status"},
        {{L"stauts"}, ArgumentError::UnknownCommand, L"stauts", 0, "status"}, // two swapped
        {{L"Remvoe"}, ArgumentError::UnknownCommand, L"Remvoe", 0, "remove"},
        {{L"sat"}, ArgumentError::UnknownCommand, L"sat", 0, "set"},
        {{L"sta"}, ArgumentError::UnknownCommand, L"sta"}, // two edits from set: too far
        {{L"help", L"stauts"}, ArgumentError::UnknownCommand, L"stauts", 0, "status"},
        // A word that does not look like a command word may be a password.
        {{L"*"}, ArgumentError::UnknownCommand, L"", 1},
        {{L"S3cret"}, ArgumentError::UnknownCommand, L"", 1},
        {{L"help", L"S3cret"}, ArgumentError::UnknownCommand, L"", 2},
        {{std::wstring(25, L'x')}, ArgumentError::UnknownCommand, L"", 1},
        {{L"status", L"-json"}, ArgumentError::UnknownOption, L"-json", 0, "--json"},
        {{L"set", L"/Check"}, ArgumentError::UnknownOption, L"/Check", 0, "--check"},
        {{L"status", L"--json=yes"}, ArgumentError::ValueGiven, L"--json"},
        {{L"set", L"--user", L"a", L"--logon-count", L"-1"},
         ArgumentError::OutOfRange,
         L"--logon-count"},
        {{L"set", L"--password-file"}, ArgumentError::MissingValue, L"--password-file"},
        {{L"set", L"--password-file", L""}, ArgumentError::MissingValue, L"--password-file"},
        {{L"set", L"--password-file=pw.txt"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--password-fileS3cret"}, ArgumentError::PasswordOption, L""},
        {{L"--json"}, ArgumentError::UnknownOption, L"--json"}, // an option before any command
        {{L"status", L"--verbose"}, ArgumentError::UnknownOption, L"--verbose"},
        {{L"status", L"extra"}, ArgumentError::UnexpectedWord, L"", 2},
        {{L"set", L"--user", L"kiosk", L"S3cret"}, ArgumentError::UnexpectedWord, L"", 4},
        {{L"status", L"--verbose:S3cret"}, ArgumentError::UnknownOption, L"--verbose"},
        {{L"status", L"-xS3cret"}, ArgumentError::UnknownOption, L"-x"},
        {{L"status", L"--no-verify"}, ArgumentError::UnknownOption, L"--no-verify"},
        {{L"remove", L"--user", L"bob"}, ArgumentError::UnknownOption, L"--user"},
        {{L"set", L"--passwd=hunter2", L"--user", L"bob"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--username", L"bob"}, ArgumentError::UnknownOption, L"", 2}, // --user + "name"
        {{L"set", L"--user"}, ArgumentError::MissingValue, L"--user"},
        {{L"set", L"--user", L"--no-verify"}, ArgumentError::MissingValue, L"--user"},
        {{L"set", L"--user", L"bob", L"--domain"}, ArgumentError::MissingValue, L"--domain"},
        {{L"status", L"--json", L"--json"}, ArgumentError::Repeated, L"--json"},
        {{L"set", L"--user", L"a", L"--user=b"}, ArgumentError::Repeated, L"--user"},
        {{L"set", L"--user", L"a", L"--no-verify", L"--no-verify"},
         ArgumentError::Repeated,
         L"--no-verify"},
        {{L"set", L"--user", L"a", L"--domain", L"x", L"--domain", L"y"},
         ArgumentError::Repeated,
         L"--domain"},
        {{L"set", L"--user", L"bob", L"--password", L"hunter2"},
         ArgumentError::PasswordOption,
         L""},
        {{L"set", L"--user", L"bob", L"--password=hunter2"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--password"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"-p", L"hunter2", L"--user", L"bob"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--user", L"bob", L"-phunter2"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--user", L"bob", L"/password:hunter2"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"/p", L"hunter2"}, ArgumentError::PasswordOption, L""},
        {{L"-p", L"hunter2"}, ArgumentError::PasswordOption, L""},
        // In any letter case, with "=" or ":", and a short option with its value glued on.
        {{L"set", L"/p:S3cret"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"-PS3cret"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"/Password:S3cret"}, ArgumentError::PasswordOption, L""},
        {{L"set", L"--password:S3cret"}, ArgumentError::PasswordOption, L""},
        {{L"remove", L"--PWD=S3cret"}, ArgumentError::PasswordOption, L""},
        {{L"status", L"--password", L"x"}, ArgumentError::PasswordOption, L""},
        // Every option that begins with "p", with text glued on or dashes inside; an unknown
        // option named only when it looks like one, and no known one with text glued on.
        {{L"set", L"--user", L"bob", L"--passwordS3cret"}, ArgumentError::PasswordOption, L""},
        {{L"--pwS3cret"}, ArgumentError::PasswordOption, L""},
        {{L"remove", L"---Pass-Word", L"x"}, ArgumentError::PasswordOption, L""},
        {{L"status", kName24}, ArgumentError::UnknownOption, kName24},
        {{L"status", kName24 + L"x"}, ArgumentError::UnknownOption, L"", 2},
        {{L"--S3cr+t"}, ArgumentError::UnknownOption, L"", 1},
        {{L"set", L"--JSONS3cret"}, ArgumentError::UnknownOption, L"", 2},
        {{L"set"}, ArgumentError::MissingUser, L""},
        {{L"set", L"--no-verify", L"--domain", L"PC"}, ArgumentError::MissingUser, L""},
        {{L"set", L"--user", L""}, ArgumentError::EmptyUser, L"--user"},
        {{L"set", L"--user="}, ArgumentError::EmptyUser, L"--user"},
        {{L"set", L"--user", L"PC\\"}, ArgumentError::EmptyUser, L"--user"},
        {{L"set", L"--user", L"\\bob"}, ArgumentError::BadUser, L"--user"},
        {{L"set", L"--user", L"A\\B\\bob"}, ArgumentError::BadUser, L"--user"},
        {{L"set", L"--user", L"A\\bob", L"--domain", L"C"}, ArgumentError::DomainTwice, L""},
        {{L"set", L"--domain", L"A", L"--user", L"A\\bob"}, ArgumentError::DomainTwice, L""},
        {{L"set", L"--user", L"A\\bob", L"--domain="}, ArgumentError::DomainTwice, L""},
        {{L"set", L"--user", kTooLong}, ArgumentError::TooLong, L"--user"},
        {{L"set", L"--user=" + kTooLong + L"\\bob"}, ArgumentError::TooLong, L"--user"},
        {{L"set", L"--user", L"PC\\" + kTooLong}, ArgumentError::TooLong, L"--user"},
        {{L"set", L"--user", L"bob", L"--domain", kTooLong}, ArgumentError::TooLong, L"--domain"},
        {{L"status", L"--check"}, ArgumentError::UnknownOption, L"--check"},
        {{L"remove", L"--logon-count", L"2"}, ArgumentError::UnknownOption, L"--logon-count"},
        {{L"set", L"--user", L"a", L"--logon-count"},
         ArgumentError::MissingValue,
         L"--logon-count"},
        // dsc takes its operation first; only set has a dry run; the instance is no argument.
        {{L"dsc"}, ArgumentError::NoOperation, L""},
        {{L"dsc", L"S3cret"}, ArgumentError::NoOperation, L""},
        {{L"dsc", L"--check"}, ArgumentError::UnknownOption, L"--check"},
        {{L"dsc", L"get", L"--check"}, ArgumentError::UnknownOption, L"--check"},
        {{L"dsc", L"set", L"{}"}, ArgumentError::UnexpectedWord, L"", 3},
        {{L"dsc", L"set", L"--json"}, ArgumentError::UnknownOption, L"--json"},
    };
    for (const auto& c : cases)
    {
        const Arguments parsed = Parse(c.words);
        EXPECT_EQ(parsed.command, Command::None) << Show(c.words);
        EXPECT_EQ(static_cast<int>(parsed.error), static_cast<int>(c.error)) << Show(c.words);
        if (c.offending.empty())
            EXPECT_EQ(parsed.offending, nullptr) << Show(c.words);
        else
        {
            ASSERT_NE(parsed.offending, nullptr) << Show(c.words);
            EXPECT_EQ(std::wstring(parsed.offending, parsed.offendingLength), c.offending)
                << Show(c.words);
        }
        EXPECT_EQ(parsed.position, c.position) << Show(c.words);
        EXPECT_STREQ(parsed.suggestion, c.suggestion) << Show(c.words);
    }
}

namespace
{
// What a parse gave, in one line: command, user, domain ("-" when not given), flags.
std::string Describe(const Arguments& parsed)
{
    const char* const commands[] = {"none", "help", "version", "status", "set", "remove", "dsc"};
    const char* const methods[] = {"", " get", " set", " test", " export"};
    std::string text = commands[static_cast<int>(parsed.command)];
    text += methods[static_cast<int>(parsed.dscMethod)];
    text += " user=" + Narrow(parsed.user);
    text += " domain=" + (parsed.domainGiven ? Narrow(parsed.domain) : std::string("-"));
    text += parsed.json ? " json" : "";
    text += parsed.check ? " check" : "";
    text += parsed.noVerify ? " no-verify" : "";
    text += parsed.logonCount != 0 ? " count=" + std::to_string(parsed.logonCount) : "";
    text += parsed.topic != Command::None
                ? std::string(" topic=") + CommandRowOf(parsed.topic)->word
                : "";
    text += parsed.passwordFile != nullptr ? " file=" + Narrow(parsed.passwordFile) : "";
    return text;
}
} // namespace

TEST(CliArguments, AcceptedCommandLines)
{
    const std::string longest = Narrow(kLongest);
    const struct
    {
        std::vector<std::wstring> words;
        std::string parsed;
    } cases[] = {
        {{L"--help"}, "help user= domain=-"},
        {{L"-h"}, "help user= domain=-"},
        {{L"/?"}, "help user= domain=-"},
        {{L"set", L"--help"}, "help user= domain=- topic=set"},
        {{L"help"}, "help user= domain=-"},
        {{L"HELP", L"Remove"}, "help user= domain=- topic=remove"},
        {{L"help", L"--help"}, "help user= domain=- topic=help"},
        {{L"version"}, "version user= domain=-"},
        {{L"Status", L"--json"}, "status user= domain=- json"},
        {{L"DSC", L"Get"}, "dsc get user= domain=-"},
        {{L"set", L"--user", L"bob", L"--password-file", L"C:\\pw.txt"},
         "set user=bob domain=- file=C:\\pw.txt"},
        {{L"--version"}, "version user= domain=-"},
        {{L"status"}, "status user= domain=-"},
        {{L"status", L"--json"}, "status user= domain=- json"},
        {{L"remove"}, "remove user= domain=-"},
        {{L"set", L"--user", L"bob"}, "set user=bob domain=-"},
        {{L"set", L"--no-verify", L"--user=bob"}, "set user=bob domain=- no-verify"},
        {{L"set", L"--user", L"CORP\\bob"}, "set user=bob domain=CORP"},
        {{L"set", L"--user=bob", L"--check", L"--json", L"--logon-count", L"999999"},
         "set user=bob domain=- json check count=999999"},
        {{L"set", L"--user=bob", L"--logon-count=007"}, "set user=bob domain=- count=7"},
        {{L"remove", L"--json", L"--check"}, "remove user= domain=- json check"},
        {{L"set", L"--user:CORP\\bob"}, "set user=bob domain=CORP"},
        {{L"set", L"--user", L"bob", L"--domain", L"CORP"}, "set user=bob domain=CORP"},
        // An empty domain is allowed, as in the dialog; so is a name after "=" with a dash.
        {{L"set", L"--domain=", L"--user=-odd"}, "set user=-odd domain="},
        {{L"set", L"--user", L"bob@corp.example"}, "set user=bob@corp.example domain=-"},
        {{L"set", L"--user", L"Jo Ann"}, "set user=Jo Ann domain=-"},
        {{L"set", L"--user", kLongest, L"--domain", kLongest},
         "set user=" + longest + " domain=" + longest},
        {{L"set", L"--user", kLongest + L"\\" + kLongest},
         "set user=" + longest + " domain=" + longest},
        {{L"dsc", L"get"}, "dsc get user= domain=-"},
        {{L"dsc", L"set", L"--check"}, "dsc set user= domain=- check"},
        {{L"dsc", L"export"}, "dsc export user= domain=-"},
        {{L"dsc", L"test", L"--help"}, "help test user= domain=- topic=dsc"},
    };
    for (const auto& c : cases)
    {
        const Arguments parsed = Parse(c.words);
        EXPECT_EQ(static_cast<int>(parsed.error), static_cast<int>(ArgumentError::None))
            << Show(c.words);
        EXPECT_EQ(Describe(parsed), c.parsed) << Show(c.words);
    }
}

// A logon count is decimal digits from 1 to 999999, nothing else; a refused command line
// that asked for JSON gets its refusal as JSON.
TEST(CliArguments, LogonCountAndJsonRefusals)
{
    // A whole number out of range says so, with the range; anything else is no number.
    const auto range = ArgumentError::OutOfRange;
    const auto bad = ArgumentError::BadLogonCount;
    const struct
    {
        const wchar_t* count;
        ArgumentError error;
    } counts[] = {{L"0", range}, {L"1000000", range}, {L"4294967297", range}, {L"-5", range},
                  {L"+5", bad},  {L" 5", bad},        {L"5 ", bad},           {L"1e3", bad},
                  {L"", bad},    {L"-", bad},         {L"\u0663", bad},       {L"\uff15", bad}};
    for (const auto& c : counts)
    {
        const Arguments parsed =
            Parse({L"set", L"--user", L"a", L"--logon-count=" + std::wstring(c.count)});
        EXPECT_EQ(static_cast<int>(parsed.error), static_cast<int>(c.error)) << Narrow(c.count);
        EXPECT_EQ(parsed.logonCount, 0u);
    }
    EXPECT_TRUE(Parse({L"set", L"--bogus", L"--json"}).json);
    EXPECT_TRUE(Parse({L"--json", L"set"}).json);
    EXPECT_FALSE(Parse({L"set", L"--bogus", L"--JSON"}).json);

    // A refusal tells an odd option by its position, and says that a dry run was asked for.
    const Arguments refused = Parse({L"remove", L"--S3cr\u00e9t", L"--check", L"--json"});
    wchar_t storage[kRefusalCapacity];
    TextBuffer out(storage, kRefusalCapacity);
    ComposeRefusal(refused, TextsFor(false), out);
    ComposeRefusalJson(refused, out);
    const std::wstring text = out.Text();
    EXPECT_EQ(text.find(L"tarvelin-cli: argument 2 is not an option"), 0u) << Narrow(text);
    EXPECT_NE(text.find(L"{\"command\":\"remove\",\"check\":true,"), std::wstring::npos);
}

// No option of the program begins with "p": it would be taken for a password option.
TEST(CliArguments, NoOptionIsTakenForAPasswordOption)
{
    for (std::size_t row = 0; OptionName(row) != nullptr; ++row)
    {
        const std::string name = OptionName(row);
        EXPECT_NE(Parse({L"set", std::wstring(name.begin(), name.end())}).error,
                  ArgumentError::PasswordOption)
            << name;
    }
}
