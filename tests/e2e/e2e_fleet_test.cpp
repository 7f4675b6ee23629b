// tarvelin-cli as configuration-management engines drive it: idempotent set and remove, the
// dry run, JSON for every outcome, the logon count. Where an outcome needs what Wine stubs
// (a secret that is stored and read back, a refused logon), the runs use
// tarvelin-cli-standin.exe, the same program with stand-ins for exactly those calls.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace
{
// The stand-in's secret, absent before and after the test.
class StandInSecret
{
  public:
    StandInSecret() { Clear(); }
    ~StandInSecret() { Clear(); }
    StandInSecret(const StandInSecret&) = delete;
    StandInSecret& operator=(const StandInSecret&) = delete;

  private:
    static void Clear()
    {
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TarvelinTest\\StandInSecret",
                        KEY_WOW64_64KEY, 0);
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TarvelinTest", KEY_WOW64_64KEY, 0);
    }
};

// An environment variable for the programs started while it lives.
class Variable
{
  public:
    Variable(const wchar_t* name, const wchar_t* value) : name_(name)
    {
        SetEnvironmentVariableW(name, value);
    }
    ~Variable() { SetEnvironmentVariableW(name_, nullptr); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

  private:
    const wchar_t* name_;
};

const char kMarker[] = "Fleet-Pw-6620";
} // namespace

// A playbook's life: the first set changes, the second changes nothing, a dry run lists what
// a different set would change, a count is written and dropped again, and remove switches off;
// each step's exit code and words, the JSON of the first, and the machine afterwards.
TEST(CliFleet, SetAndRemoveChangeOnlyWhatDiffers)
{
    StatusKeys keys;
    keys.Hold({{L"AutoAdminLogon", TextValue(L"0")}, {L"Shell", TextValue(L"explorer.exe")}});
    StandInSecret secret;
    const std::string accepted = "Credential check: Windows accepts this user name and password.\n";
    const std::string password = std::string(kMarker) + "\n";
    const struct
    {
        const wchar_t* arguments;
        std::string input;
        DWORD exitCode;
        std::string out;
        RegValues after; // the Winlogon key, beside Shell
    } steps[] = {
        {L"set --user kiosk --domain PC --json", password, 0,
         "{\"command\":\"set\",\"check\":false,\"changed\":true,\"domain\":\"PC\",\"user\":"
         "\"kiosk\",\"logonCount\":null,\"before\":{\"AutoAdminLogon\":\"0\","
         "\"DefaultDomainName\":null,\"DefaultUserName\":null,\"plainTextPassword\":false,"
         "\"AutoLogonCount\":null,\"secret\":\"absent\"},\"after\":{\"AutoAdminLogon\":\"1\","
         "\"DefaultDomainName\":\"PC\",\"DefaultUserName\":\"kiosk\",\"plainTextPassword\":false,"
         "\"AutoLogonCount\":null,\"secret\":\"replaced\"},\"error\":null}\n",
         OnAs(L"PC", L"kiosk")},
        {L"set --user PC\\kiosk", password, 0,
         accepted + "Automatic logon is already set up for PC\\kiosk, so nothing changed.\n",
         OnAs(L"PC", L"kiosk")},
        {L"set --user PC\\anna --check", "Another-Pw\n", 7,
         accepted + "Would change:\n  DefaultUserName: kiosk -> anna\n"
                    "  password secret: would be replaced\n",
         OnAs(L"PC", L"kiosk")},
        {L"set --user PC\\kiosk --logon-count 3", password, 0,
         accepted + "Automatic logon is on for PC\\kiosk.\nThe password is stored as the LSA "
                    "secret DefaultPassword, not in the registry.\n",
         With(OnAs(L"PC", L"kiosk"), {{L"AutoLogonCount", NumberValue(3)}})},
        {L"set --user PC\\kiosk --check", password, 7,
         accepted + "Would change:\n  AutoLogonCount: 3 -> (none)\n",
         With(OnAs(L"PC", L"kiosk"), {{L"AutoLogonCount", NumberValue(3)}})},
        {L"set --user PC\\kiosk", password, 0,
         accepted + "Automatic logon is on for PC\\kiosk.\nThe password is stored as the LSA "
                    "secret DefaultPassword, not in the registry.\n",
         OnAs(L"PC", L"kiosk")},
        {L"remove --check", "", 7,
         "Would change:\n  AutoAdminLogon: 1 -> 0\n  password secret: would be deleted\n",
         OnAs(L"PC", L"kiosk")},
        {L"remove", "", 0, "Automatic logon is off, and the stored password is deleted.\n",
         With(OnAs(L"PC", L"kiosk"), {{L"AutoAdminLogon", TextValue(L"0")}})},
    };
    for (const auto& step : steps)
    {
        const std::string shown(step.arguments, step.arguments + wcslen(step.arguments));
        const CliResult result = RunCli(step.arguments, step.input, StandInPath());
        EXPECT_EQ(result.exitCode, step.exitCode) << shown << ": " << result.err;
        EXPECT_EQ(result.out, step.out) << shown;
        EXPECT_FALSE(Contains(result.out + result.err, kMarker)) << shown;
        RegValues after = step.after;
        after[L"Shell"] = TextValue(L"explorer.exe");
        EXPECT_EQ(keys.winlogon.Values(), after)
            << shown << ": " << Describe(keys.winlogon.Values());
    }
}

// Every outcome a script meets is one JSON object on standard output, with the words of a
// failure on standard error beside it.
TEST(CliFleet, EveryOutcomeIsOneJsonObject)
{
    StatusKeys keys;
    keys.Hold({{L"AutoAdminLogon", TextValue(L"0")}});
    StandInSecret secret;
    const std::wstring real = CliPath();
    const std::wstring standIn = StandInPath();
    const struct
    {
        const char* name;
        const wchar_t* arguments;
        const wchar_t* program;
        const wchar_t* logonError; // the stand-in's LogonUserW fails with it
        DWORD exitCode;
        std::string json;
        std::string err; // its beginning
    } cases[] = {
        {"a refused command line", L"set --json --user kiosk Fleet-Pw-6620", real.c_str(), nullptr,
         2,
         "{\"command\":\"set\",\"check\":false,\"changed\":false,\"error\":\"usage\","
         "\"reason\":\"unexpected-word\"}\n",
         "tarvelin-cli: argument 5 is unexpected; it"},
        {"a refused logon", L"set --json --user kiosk --domain PC", standIn.c_str(), L"1326", 3,
         "{\"command\":\"set\",\"check\":false,\"changed\":false,\"error\":\"credentials-refused\","
         "\"errorNumber\":1326,\"errorText\":\"" +
             SystemWords(1326, true) + "\",\"reason\":\"wrong-name-or-password\"}\n",
         "tarvelin-cli: the credential check refused the logon: the user name or the password "
         "is wrong.\n"},
        // Wine's own secret store refuses the write: every value goes back.
        {"a failed set", L"set --json --no-verify --user kiosk --domain PC", real.c_str(), nullptr,
         1,
         "{\"command\":\"set\",\"check\":false,\"changed\":false,\"domain\":\"PC\",\"user\":"
         "\"kiosk\",\"logonCount\":null,\"before\":{\"AutoAdminLogon\":\"0\","
         "\"DefaultDomainName\":null,\"DefaultUserName\":null,\"plainTextPassword\":false,"
         "\"AutoLogonCount\":null,\"secret\":\"absent\"},\"after\":null,\"error\":"
         "\"store-secret\",\"errorNumber\":2,\"errorText\":\"" +
             SystemWords(2, true) + "\",\"value\":null,\"restored\":true,\"unrestored\":[]}\n",
         "Credential check skipped (--no-verify)"},
        // Wine's secret store holds no secret at all: nothing is left to do.
        {"a remove with nothing to do", L"remove --json", real.c_str(), nullptr, 0,
         "{\"command\":\"remove\",\"check\":false,\"changed\":false,\"domain\":null,\"user\":null,"
         "\"logonCount\":null,\"before\":{\"AutoAdminLogon\":\"0\",\"DefaultDomainName\":null,"
         "\"DefaultUserName\":null,\"plainTextPassword\":false,\"AutoLogonCount\":null,"
         "\"secret\":\"absent\"},\"after\":{\"AutoAdminLogon\":\"0\",\"DefaultDomainName\":null,"
         "\"DefaultUserName\":null,\"plainTextPassword\":false,\"AutoLogonCount\":null,"
         "\"secret\":\"absent\"},\"error\":null}\n",
         ""},
    };
    for (const auto& c : cases)
    {
        const Variable logon(L"TARVELIN_STANDIN_LOGON_ERROR", c.logonError);
        const CliResult result = RunCli(c.arguments, std::string(kMarker) + "\n", c.program);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, c.json) << c.name;
        EXPECT_EQ(result.err.substr(0, std::string(c.err).size()), c.err) << c.name;
        EXPECT_FALSE(Contains(result.out + result.err, kMarker)) << c.name;
        EXPECT_EQ(keys.winlogon.Values(), RegValues({{L"AutoAdminLogon", TextValue(L"0")}}))
            << c.name;
    }
}

namespace
{
// A JSON member whose value is a flat object ("before", "after"), or "" when there is none.
std::string Member(const std::string& json, const std::string& name)
{
    const size_t start = json.find("\"" + name + "\":{");
    if (start == std::string::npos)
        return "";
    return json.substr(start + name.size() + 3, json.find('}', start) - start - name.size() - 2);
}

// What the next run finds of a secret this run replaced.
std::string AsFound(std::string values)
{
    const std::string replaced = "\"secret\":\"replaced\"";
    const size_t at = values.find(replaced);
    if (at != std::string::npos)
        values.replace(at, replaced.size(), "\"secret\":\"present\"");
    return values;
}
} // namespace

// From every starting state, set and remove reach a state that the next run leaves alone: the
// dry run plans exactly what the real run does, the real run leaves what its JSON says, and
// the second run finds nothing to do and writes nothing.
TEST(CliFleet, EveryStateSettlesAfterOneRun)
{
    StatusKeys keys;
    MachineKey secret{L"SOFTWARE\\TarvelinTest\\StandInSecret"};
    const wchar_t* const password = L"Fleet-Pw-6620";
    const std::string input = std::string(kMarker) + "\n";
    const RegValues on = OnAs(L"PC", L"kiosk");
    const RegValues off = {{L"AutoAdminLogon", TextValue(L"0")}};
    const std::wstring set = L"set --user PC\\kiosk --json";
    const std::wstring counted = L"set --user PC\\kiosk --logon-count 3 --json";
    const std::wstring seven = L"set --user PC\\kiosk --logon-count 7 --json";
    const std::wstring remove = L"remove --json";
    const struct
    {
        const char* name;
        std::wstring command;
        RegValues winlogon;
        const wchar_t* secret; // null: none at all
        bool changes;
        const char* said = nullptr; // what the real run's JSON says, where the row is about it
    } rows[] = {
        {"set: off, no secret", set, off, nullptr, true},
        {"set: on, the password stored", set, on, password, false},
        {"set: on, another password", set, on, L"Other-Pw", true},
        {"set: on, a blank secret", set, on, L"", true},
        {"set: a plain-text password beside", set,
         With(on, {{L"DefaultPassword", TextValue(L"pw")}}), password, true},
        {"set: names in other letters", set, OnAs(L"pc", L"KIOSK"), password, false},
        {"set: a count counted down", counted, With(on, {{L"AutoLogonCount", NumberValue(2)}}),
         password, false},
        {"set: a count Windows removed when it ran out", counted, off, password, true},
        {"set: a count above the one asked", counted,
         With(on, {{L"AutoLogonCount", NumberValue(7)}}), password, true},
        // Met only where Windows is counting it down for this very set-up.
        {"set: on, a count of 3, 7 asked", seven, With(on, {{L"AutoLogonCount", NumberValue(3)}}),
         password, false, "\"logonCount\":3,"},
        {"set: off, a count of 3 left behind, 7 asked", seven,
         With(off, {{L"AutoLogonCount", NumberValue(3)}}), password, true, "\"logonCount\":7,"},
        {"remove: on, a count", remove, With(on, {{L"AutoLogonCount", NumberValue(3)}}), password,
         true, "\"AutoLogonCount\":null,\"secret\":\"absent\"},\"error\""},
        {"remove: on, no secret", remove, on, nullptr, true},
        {"remove: on, a password stored", remove, on, password, true},
        {"remove: off, a blank secret", remove, off, L"", true},
        {"remove: off, a plain-text password", remove,
         With(off, {{L"DefaultPassword", TextValue(L"pw")}}), nullptr, true},
        {"remove: off, an empty DefaultPassword", remove,
         With(off, {{L"DefaultPassword", TextValue(L"")}}), nullptr, false},
        {"remove: off, nothing stored", remove, off, nullptr, false},
    };
    for (const auto& row : rows)
    {
        keys.winlogon.Hold(row.winlogon);
        secret.Hold(SecretHolding(row.secret));
        const CliResult check = RunCli(row.command + L" --check", input, StandInPath());
        const CliResult real = RunCli(row.command, input, StandInPath());
        const RegValues winlogon = keys.winlogon.Values();
        const RegValues stored = secret.Values();
        const CliResult again = RunCli(row.command, input, StandInPath());
        const CliResult checkAgain = RunCli(row.command + L" --check", input, StandInPath());

        EXPECT_EQ(check.exitCode, row.changes ? 7u : 0u) << row.name << ": " << check.err;
        EXPECT_EQ(real.exitCode, 0u) << row.name << ": " << real.err;
        EXPECT_TRUE(Contains(real.out, row.changes ? "\"changed\":true" : "\"changed\":false"))
            << row.name << ": " << real.out;
        EXPECT_NE(Member(real.out, "after"), "") << row.name << ": " << real.out;
        if (row.said != nullptr)
        {
            EXPECT_TRUE(Contains(real.out, row.said)) << row.name << ": " << real.out;
        }
        EXPECT_EQ(Member(check.out, "after"), Member(real.out, "after")) << row.name;
        EXPECT_EQ(Member(again.out, "before"), AsFound(Member(real.out, "after"))) << row.name;
        EXPECT_EQ(again.exitCode, 0u) << row.name << ": " << again.err;
        EXPECT_TRUE(Contains(again.out, "\"changed\":false")) << row.name << ": " << again.out;
        EXPECT_EQ(checkAgain.exitCode, 0u) << row.name << ": " << checkAgain.out;
        EXPECT_EQ(keys.winlogon.Values(), winlogon) << row.name << ": the second run wrote";
        EXPECT_EQ(secret.Values(), stored) << row.name << ": the second run stored";
        EXPECT_FALSE(Contains(check.out + real.out + again.out, kMarker)) << row.name;
    }
}

// The password from a file, in each form that editors and Windows PowerShell 5.1 write: what
// is stored is the password's UTF-16, and neither the password nor the file's path (where a
// mistyped password may stand) is ever shown.
TEST(CliFleet, ThePasswordFromAFile)
{
    StatusKeys keys;
    MachineKey secret{L"SOFTWARE\\TarvelinTest\\StandInSecret"};
    const wchar_t* const password = L"File-Pw-\u00e4\u20ac";
    const std::string utf8 = "File-Pw-\xC3\xA4\xE2\x82\xAC";
    const std::vector<unsigned char> utf16 =
        Utf16Bytes(std::wstring(L"\uFEFF") + password + L"\r\n");
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"Path-Marker-4471.txt";
    const struct
    {
        const char* name;
        bool exists;
        std::string content;
        DWORD exitCode;
        const char* error;
    } rows[] = {
        {"UTF-8", true, utf8 + "\r\n", 0, "null"},
        {"UTF-8 with a byte-order mark", true, "\xEF\xBB\xBF" + utf8 + "\n", 0, "null"},
        {"UTF-16LE with a byte-order mark", true, std::string(utf16.begin(), utf16.end()), 0,
         "null"},
        {"no file", false, "", 2, "\"password-unreadable\""},
        {"an empty file", true, "", 2, "\"no-password\""},
    };
    for (const auto& row : rows)
    {
        keys.winlogon.Hold({{L"AutoAdminLogon", TextValue(L"0")}});
        secret.Hold({});
        DeleteFileW(path.c_str());
        if (row.exists)
        {
            ASSERT_TRUE(WriteWholeFile(path, row.content)) << row.name;
        }
        const CliResult result = RunCli(
            L"set --user PC\\kiosk --password-file \"" + path + L"\" --json", "", StandInPath());
        DeleteFileW(path.c_str());
        EXPECT_EQ(result.exitCode, row.exitCode) << row.name << ": " << result.err;
        EXPECT_TRUE(Contains(result.out, std::string("\"error\":") + row.error)) << result.out;
        EXPECT_EQ(secret.Values(), row.exitCode == 0 ? SecretHolding(password) : RegValues())
            << row.name;
        const std::string said = result.out + result.err;
        EXPECT_FALSE(Contains(said, "File-Pw") || Contains(said, "Path-Marker")) << said;
    }
}
