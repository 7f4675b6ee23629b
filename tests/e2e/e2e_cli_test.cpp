// tarvelin-cli.exe run as a script runs it: standard input from a pipe, standard output and
// error to files, the exit code read back. The registry states are prepared in the
// prefix's real keys and put back afterwards. Under Wine the secret store answers "not
// found" to every read, so the secret always reads as absent here, and LogonUserW accepts
// every user and password.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"
#include "winlogon_keys.h"

namespace
{
const std::string kJsonHead = "{\"enabled\":true,\"autoAdminLogon\":\"1\",\"domain\":\"" +
                              Ascii(ThisComputer()) + "\",\"user\":\"" + Ascii(ThisUser()) +
                              "\",\"secret\":\"absent\",";
} // namespace

TEST(CliStatus, EachStateItsJsonAndExitCode)
{
    const RegValues plain = {{L"DefaultPassword", TextValue(L"Plain-Pw-5521")}};
    const struct
    {
        const char* name;
        RegValues winlogon;
        RegValues policies;
        RegValues passwordLess;
        DWORD exitCode;
        std::string json;
    } cases[] = {
        {"off, nothing set",
         {},
         {},
         {},
         5,
         "{\"enabled\":false,\"autoAdminLogon\":null,\"domain\":\"\",\"user\":\"\",\"secret\":"
         "\"absent\","
         "\"plainTextPassword\":false,\"logonCount\":null,\"passwordExpires\":null,"
         "\"accountExpires\":null,\"keep\":null,\"problems\":[],\"warnings\":[]}\n"},
        {"off: problems are not listed",
         {{L"AutoAdminLogon", TextValue(L"0")}},
         {},
         {{L"DevicePasswordLessBuildVersion", NumberValue(2)}},
         5,
         "{\"enabled\":false,\"autoAdminLogon\":\"0\",\"domain\":\"\",\"user\":\"\",\"secret\":"
         "\"absent\","
         "\"plainTextPassword\":false,\"logonCount\":null,\"passwordExpires\":null,"
         "\"accountExpires\":null,\"keep\":null,\"problems\":[],\"warnings\":[]}\n"},
        // The secret store of Wine holds nothing: only a plain-text password lets it log on.
        {"on and healthy",
         With(kOn, plain),
         {},
         {},
         0,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":null,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,\"problems\":[],"
                     "\"warnings\":[\"plain-text-password\"]}\n"},
        {"no password",
         kOn,
         {},
         {},
         6,
         kJsonHead + "\"plainTextPassword\":false,\"logonCount\":null,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,"
                     "\"problems\":[\"no-password\"],\"warnings\":[]}\n"},
        {"Windows Hello required",
         With(kOn, plain),
         {},
         {{L"DevicePasswordLessBuildVersion", NumberValue(2)}},
         6,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":null,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,"
                     "\"problems\":[\"passwordless-sign-in\"],"
                     "\"warnings\":[\"plain-text-password\"]}\n"},
        {"legal notice in Winlogon",
         With(kOn, With(plain, {{L"LegalNoticeText", TextValue(L"Hi")}})),
         {},
         {},
         6,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":null,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,"
                     "\"problems\":[\"legal-notice\"],\"warnings\":[\"plain-text-password\"]}\n"},
        {"legal notice in the policies",
         With(kOn, plain),
         {{L"LegalNoticeCaption", TextValue(L"Notice")}},
         {},
         6,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":null,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,"
                     "\"problems\":[\"legal-notice\"],\"warnings\":[\"plain-text-password\"]}\n"},
        {"no user",
         With(plain, {{L"AutoAdminLogon", TextValue(L"1")}}),
         {},
         {},
         6,
         "{\"enabled\":true,\"autoAdminLogon\":\"1\",\"domain\":\"\",\"user\":\"\",\"secret\":"
         "\"absent\","
         "\"plainTextPassword\":true,\"logonCount\":null,\"passwordExpires\":null,"
         "\"accountExpires\":null,\"keep\":null,\"problems\":[\"no-user\"],"
         "\"warnings\":[\"plain-text-password\"]}\n"},
        {"logon count",
         With(kOn, With(plain, {{L"AutoLogonCount", NumberValue(3)}})),
         {},
         {},
         0,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":3,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,\"problems\":[],"
                     "\"warnings\":[\"plain-text-password\",\"logon-count\"]}\n"},
        {"logon count used up",
         With(kOn, With(plain, {{L"AutoLogonCount", NumberValue(0)}})),
         {},
         {},
         6,
         kJsonHead + "\"plainTextPassword\":true,\"logonCount\":0,\"passwordExpires\":null,"
                     "\"accountExpires\":null,\"keep\":null,"
                     "\"problems\":[\"logon-count-used-up\"],"
                     "\"warnings\":[\"plain-text-password\"]}\n"},
        {"a domain that is not this computer's",
         With(kOn, With(plain, {{L"DefaultDomainName", TextValue(L"OLDNAME")}})),
         {},
         {},
         0,
         "{\"enabled\":true,\"autoAdminLogon\":\"1\",\"domain\":\"OLDNAME\",\"user\":\"" +
             Ascii(ThisUser()) +
             "\",\"secret\":\"absent\",\"plainTextPassword\":true,\"logonCount\":null,"
             "\"passwordExpires\":null,\"accountExpires\":null,\"keep\":null,"
             "\"problems\":[],\"warnings\":[\"plain-text-password\",\"domain-not-this-machine\"]}"
             "\n"},
        {"AutoAdminLogon as a number keeps its verdict and is named",
         With(kOn, With(plain, {{L"AutoAdminLogon", NumberValue(1)}})),
         {},
         {},
         5,
         "{\"enabled\":false,\"autoAdminLogon\":1,\"domain\":\"" + Ascii(ThisComputer()) +
             "\",\"user\":\"" + Ascii(ThisUser()) +
             "\",\"secret\":\"absent\",\"plainTextPassword\":true,\"logonCount\":null,"
             "\"passwordExpires\":null,\"accountExpires\":null,\"keep\":null,\"problems\":"
             "[],"
             "\"warnings\":[\"plain-text-password\",\"auto-admin-logon-unusual\"]}\n"},
    };
    StatusKeys keys;
    for (const auto& c : cases)
    {
        keys.Hold(c.winlogon, c.policies, c.passwordLess);
        const CliResult result = RunCli(L"status --json");
        EXPECT_EQ(result.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(result.out, c.json) << c.name;
        EXPECT_EQ(result.err, "") << c.name;
        EXPECT_FALSE(Contains(result.out, "Plain-Pw-5521")) << c.name;
        EXPECT_EQ(keys.winlogon.Values(), c.winlogon) << c.name << ": status changed the key";
    }
}

TEST(CliStatus, TextOneFactALineAsUtf8)
{
    StatusKeys keys;
    keys.Hold(With(kOn, {{L"AutoLogonCount", NumberValue(2)},
                         {L"DefaultUserName", TextValue(L"J\u00fcrgen")}}),
              {{L"LegalNoticeText", TextValue(L"Read this")}});
    const CliResult result = RunCli(L"status");
    EXPECT_EQ(result.exitCode, 6u);
    // Wine's account database knows only the user it runs as: this one is unknown to it.
    EXPECT_EQ(result.out, "Automatic logon: on\n"
                          "Domain: " +
                              Ascii(ThisComputer()) +
                              "\n"
                              "User: J\xC3\xBCrgen\n" // UTF-8, and no byte-order mark before it
                              "Password secret: absent\n"
                              "Plain-text password in the registry: no\n"
                              "Logon count: 2\n"
                              "Problem (legal-notice): a legal notice must be confirmed at "
                              "logon, so Windows waits for a key press.\n"
                              "Problem (no-password): no password is stored, so Windows "
                              "switches automatic logon off by itself.\n"
                              "Problem (unknown-user): this computer has no account of that "
                              "name.\n"
                              "Warning (logon-count): automatic logon ends after 2 more starts "
                              "(AutoLogonCount).\n"
                              "Result: automatic logon is on, but the problems above stop it.\n");
}

// A 32-bit tool may have written Winlogon values into the 32-bit view, where Windows never
// reads them: status names them, and a password there, even while automatic logon is off.
TEST(CliStatus, LeftoversInTheThirtyTwoBitView)
{
    StatusKeys keys;
    keys.Hold({});
    MachineKey wow(kWinlogon, KEY_WOW64_32KEY);
    wow.Hold({{L"Marker", TextValue(L"32")}});
    if (keys.winlogon.Values().count(L"Marker") != 0)
        GTEST_SKIP() << "this prefix has one view only (made without 32-bit support)";
    const struct
    {
        RegValues wow;
        std::string warnings;
    } cases[] = {
        {{{L"DefaultPassword", TextValue(L"Leftover-Pw")}}, "[\"wow64-leftovers\"]"},
        {{{L"AutoAdminLogon", TextValue(L"1")}}, "[\"wow64-leftovers\"]"},
        {{{L"Shell", TextValue(L"explorer.exe")}}, "[]"}, // not a value of automatic logon
    };
    for (const auto& c : cases)
    {
        wow.Hold(c.wow);
        const CliResult result = RunCli(L"status --json");
        EXPECT_EQ(result.exitCode, 5u) << c.warnings;
        EXPECT_TRUE(Contains(result.out, "\"warnings\":" + c.warnings + "}")) << result.out;
        EXPECT_FALSE(Contains(result.out, "Leftover-Pw"));
    }
}

TEST(CliStatus, JsonStringsEscapedAndUtf8)
{
    StatusKeys keys;
    const std::wstring user = L"J\u00fcrgen \"Q\"\\\t\U0001F600";
    keys.Hold({{L"DefaultUserName", TextValue(user)},
               {L"DefaultDomainName", TextValue(std::wstring(L"a\x01z"))}});
    const CliResult result = RunCli(L"status --json");
    EXPECT_EQ(result.exitCode, 5u);
    EXPECT_TRUE(Contains(result.out, "\"domain\":\"a\\u0001z\",\"user\":\"J\xC3\xBCrgen "
                                     "\\\"Q\\\"\\\\\\t\xF0\x9F\x98\x80\","))
        << result.out;
}

TEST(CliCommandLine, EveryRefusalEndsWith2AndWritesOnlyToStandardError)
{
    const struct
    {
        const wchar_t* arguments;
        std::string firstLine;
    } cases[] = {
        {L"", "tarvelin-cli: no command given."},
        {L"*", "tarvelin-cli: argument 1 is not a command"}, // no wildcard expansion
        {L"stauts", "tarvelin-cli: unknown command: stauts (did you mean status?)\n"},
        {L"Hunter-77", "tarvelin-cli: argument 1 is not a command"},
        {L"status --verbose", "tarvelin-cli: unknown option: --verbose\n"},
        {L"status -json", "tarvelin-cli: unknown option: -json (did you mean --json?)\n"},
        {L"status --json=yes", "tarvelin-cli: --json takes no value.\n"},
        {L"remove --check --check", "tarvelin-cli: --check is given twice.\n"},
        {L"remove --no-verify", "tarvelin-cli: remove does not take --no-verify.\n"},
        {L"status --verbose=Hunter-77", "tarvelin-cli: unknown option: --verbose\n"},
        {L"status -xHunter-77", "tarvelin-cli: unknown option: -x\n"},
        // A word the command does not take may be a password in the wrong place.
        {L"set --user kiosk Hunter-77", "tarvelin-cli: argument 4 is unexpected; it is not "
                                        "shown, in case it is a password.\n"},
        {L"set --user", "tarvelin-cli: --user needs a value.\n"},
        {L"set --user a --logon-count -1", "tarvelin-cli: --logon-count is out of range: it "
                                           "takes a number from 1 to 999999.\n"},
        {L"set --no-verify", "tarvelin-cli: set needs the user: --user NAME or --user "
                             "DOMAIN\\NAME."},
        {L"set --user \"\"", "tarvelin-cli: the user name is empty."},
        {L"set --user A\\B\\c", "tarvelin-cli: --user takes NAME or DOMAIN\\NAME: a domain "
                                "before the backslash, a name after it, and no second "
                                "backslash."},
        {L"set --user A\\b --domain C", "tarvelin-cli: the domain is given twice, in --user "
                                        "DOMAIN\\NAME and with --domain: give it once."},
        {L"set --user kiosk --password Hunter-77",
         "tarvelin-cli: the password is never taken from the command line, where other programs "
         "can read it. Use --password-file, pipe it to standard input (the first line, UTF-8), "
         "or run set at a console and type it at the prompt."},
        {L"set --user kiosk --password=Hunter-77", "tarvelin-cli: the password is never taken"},
        {L"set -p Hunter-77 --user kiosk", "tarvelin-cli: the password is never taken"},
        {L"set --passwd=Hunter-77 --user kiosk", "tarvelin-cli: the password is never taken"},
        {L"set --user kiosk /p:Hunter-77", "tarvelin-cli: the password is never taken"},
        {L"set --user kiosk -PHunter-77", "tarvelin-cli: the password is never taken"},
        {L"set --user kiosk /Password:Hunter-77", "tarvelin-cli: the password is never taken"},
        {L"set --user kiosk --password:Hunter-77", "tarvelin-cli: the password is never taken"},
        {L"remove --PASSWORD=Hunter-77", "tarvelin-cli: the password is never taken"},
    };
    for (const auto& c : cases)
    {
        const CliResult result = RunCli(c.arguments, "Hunter-77\n");
        const std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        EXPECT_EQ(result.exitCode, 2u) << shown;
        EXPECT_EQ(result.err.substr(0, c.firstLine.size()), c.firstLine) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_FALSE(Contains(result.err, "Hunter-77")) << shown;
    }

    const std::wstring tooLong(257, L'u');
    const CliResult longUser = RunCli(L"set --user " + tooLong);
    EXPECT_EQ(longUser.exitCode, 2u);
    EXPECT_EQ(longUser.err, "tarvelin-cli: the value of --user is longer than 256 characters; it "
                            "is refused, not cut.\n"
                            "\"tarvelin-cli help set\" shows its options and exit codes.\n");
}

TEST(CliCommandLine, UsageForWhatIsNotUnderstoodHelpAndVersion)
{
    const CliResult none = RunCli(L"");
    EXPECT_TRUE(Contains(none.err, "\nUsage: tarvelin-cli COMMAND [OPTIONS]\n")) << none.err;

    // The overview names the commands; a command's help its own usage, options and exit codes.
    const struct
    {
        const wchar_t* arguments;
        std::vector<std::string> has;
        std::vector<std::string> hasNot;
    } cases[] = {
        {L"--help", {"\nCommands:\n  status ", "\n  version "}, {"--user", "Exit codes"}},
        {L"/?", {"\nCommands:\n"}, {"--user"}},
        {L"help", {"\nCommands:\n"}, {"--user"}},
        {L"help set",
         {"Usage: tarvelin-cli set --user [DOMAIN\\]NAME [--domain NAME]\n",
          "\n  --password-file PATH  ", "\n  3  ", "\n  7  "},
         {"\n  5  ", "unknown-user"}},
        {L"SET -h", {"Usage: tarvelin-cli set --user"}, {"Commands:"}},
        {L"help status",
         {"Usage: tarvelin-cli status [--json]\n", "\n  6  ", " logon-count-used-up",
          " password-provider-excluded", " must-change-password"},
         {"--user", "\n  7  "}},
        {L"dsc test --help", {"Usage: tarvelin-cli dsc get|test|export|set [--check]\n"}, {}},
    };
    for (const auto& c : cases)
    {
        const std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        const CliResult result = RunCli(c.arguments);
        EXPECT_EQ(result.exitCode, 0u) << shown;
        EXPECT_EQ(result.err, "") << shown;
        for (const std::string& part : c.has)
            EXPECT_TRUE(Contains(result.out, part)) << shown << " lacks " << part << ":\n"
                                                    << result.out;
        for (const std::string& part : c.hasNot)
            EXPECT_FALSE(Contains(result.out, part)) << shown << " has " << part << ":\n"
                                                     << result.out;
    }

    for (const wchar_t* version : {L"--version", L"version", L"Version"})
    {
        const CliResult result = RunCli(version);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(result.out, "Tarvelin 1.01\n");
    }
}

// Under Wine the secret store refuses every write (error 2): a set that passes every check
// reaches it, fails, and puts every value back; a remove switches off all the same.
TEST(CliSet, ThePasswordComesFromStandardInputOnly)
{
    StatusKeys keys;
    keys.Hold(With(kOn, {{L"Shell", TextValue(L"explorer.exe")}}));
    const std::string refused =
        "tarvelin-cli: automatic logon could not be switched on: the LSA secret "
        "DefaultPassword could not be written " +
        ErrorWords(2) + ".\nEvery value was put back as it was.\n";
    const struct
    {
        const wchar_t* arguments;
        std::string input;
        DWORD exitCode;
        std::string out;
        std::string err;
    } cases[] = {
        {L"set --user kiosk", "", 2, "",
         "tarvelin-cli: no password given: the first line of standard input is empty. Nothing "
         "was changed.\n"},
        {L"set --user kiosk", "\xC3\x28\n", 2, "",
         "tarvelin-cli: standard input is not UTF-8 text (or it holds a null character); the "
         "password was not read. Nothing was changed.\n"},
        // What cmd's "<" hands over of a file that Windows PowerShell 5.1 wrote.
        {L"set --user kiosk", std::string("\xFF\xFEp\0w\0\r\0\n\0", 10), 2, "",
         "tarvelin-cli: standard input is UTF-16 text, as a file that Windows PowerShell 5.1 "
         "writes with > or Out-File is; the password was not read. Give such a file with "
         "--password-file, which reads UTF-16, or send UTF-8. Nothing was changed.\n"},
        {L"set --user kiosk", std::string(300, 'p') + "\n", 2, "",
         "tarvelin-cli: the password is longer than 256 characters; it is refused, not cut. "
         "Nothing was changed.\n"},
        // Wine's LogonUserW accepts everyone: the check runs and says so.
        {L"set --user \"Jo Ann\" --domain PC", "\xEF\xBB\xBFTrail-Cli-Pw-3388\r\n", 1,
         "Credential check: Windows accepts this user name and password.\n", refused},
        {L"set --no-verify --user PC\\kiosk", "Trail-Cli-Pw-3388\n", 1,
         "Credential check skipped (--no-verify): the user name and password were not "
         "checked.\n",
         refused},
    };
    for (const auto& c : cases)
    {
        const std::string shown(c.arguments, c.arguments + wcslen(c.arguments));
        const RegValues before = keys.winlogon.Values();
        const CliResult result = RunCli(c.arguments, c.input);
        EXPECT_EQ(result.exitCode, c.exitCode) << shown;
        EXPECT_EQ(result.err, c.err) << shown;
        EXPECT_EQ(result.out, c.out) << shown;
        EXPECT_FALSE(Contains(result.out + result.err, "Trail-Cli-Pw")) << shown;
        EXPECT_EQ(keys.winlogon.Values(), before) << shown << ": the Winlogon values changed";
    }
}

// As the README shows it for cmd: the password file is opened by cmd itself, so no command
// line holds the password. (Wine's cmd does not take a quoted file name after "<".)
TEST(CliSet, ThePasswordFileThroughCmdRedirection)
{
    StatusKeys keys;
    keys.Hold(kOn);
    const std::wstring file = TempFilePath();
    ASSERT_TRUE(WriteWholeFile(file, "Trail-Cmd-Pw-5521\r\n"));
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);

    const CliResult result = RunCli(L"/c " + CliPath() + L" set --user CORP\\kiosk < " + file, "",
                                    std::wstring(system) + L"\\cmd.exe");
    DeleteFileW(file.c_str());

    EXPECT_EQ(result.exitCode, 1u) << result.err;
    EXPECT_EQ(result.out, "Credential check: Windows accepts this user name and password.\n");
    EXPECT_TRUE(Contains(result.err, "the LSA secret DefaultPassword could not be written " +
                                         ErrorWords(2) +
                                         ".\nEvery value was put back as it was.\n"))
        << result.err;
    EXPECT_FALSE(Contains(result.out + result.err, "Trail-Cmd-Pw"));
    EXPECT_EQ(keys.winlogon.Values(), kOn);
}

// Wine's secret store holds no secret, and remove creates none where there is none.
TEST(CliRemove, SwitchesOffDropsThePlainPasswordAndLeavesAMissingSecretAlone)
{
    StatusKeys keys;
    const RegValues configured = With(kOn, {{L"DefaultPassword", TextValue(L"stale")}});
    keys.Hold(configured);

    const CliResult result = RunCli(L"remove");

    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.out, "Automatic logon is off, and no password is stored.\n");
    EXPECT_EQ(result.err, "");
    RegValues expected = kOn;
    expected[L"AutoAdminLogon"] = TextValue(L"0");
    EXPECT_EQ(keys.winlogon.Values(), expected) << Describe(keys.winlogon.Values());
    EXPECT_EQ(RunCli(L"status").exitCode, 5u) << "status after remove";
}

// The 32-bit build under WOW64 reads and changes the 64-bit Winlogon key, the one Windows
// reads, not Wow6432Node's. The 32-bit view has no Winlogon key meanwhile, so that a program
// on that view fails at opening the key: set then reaches the secret (which Wine refuses)
// only if it opened and wrote the 64-bit key.
TEST(Wow64Cli, StatusSetAndRemoveUseTheSixtyFourBitKey)
{
    const std::wstring cli = Win32ProgramPath(L"tarvelin-cli.exe");
    DWORD binaryType = 0xdeadbeef;
    ASSERT_TRUE(GetBinaryTypeW(cli.c_str(), &binaryType))
        << "build/win32/tarvelin-cli.exe is missing: make win32";
    ASSERT_EQ(binaryType, static_cast<DWORD>(SCS_32BIT_BINARY));
    StatusKeys keys;
    const RegValues configured = With(kOn, {{L"DefaultPassword", TextValue(L"stale")}});
    keys.Hold(configured);
    WinlogonAbsent absent(KEY_WOW64_32KEY);
    ASSERT_TRUE(absent.moved()) << "could not move the 32-bit view's Winlogon key aside";

    const CliResult status = RunCli(L"status --json", "", cli);
    EXPECT_EQ(status.exitCode, 0u) << status.err;
    EXPECT_EQ(status.out, kJsonHead +
                              "\"plainTextPassword\":true,\"logonCount\":null,"
                              "\"passwordExpires\":null,\"accountExpires\":null,\"keep\":null,"
                              "\"problems\":[],\"warnings\":[\"plain-text-password\"]}\n");

    const std::string secretRefused =
        "the LSA secret DefaultPassword could not be written " + ErrorWords(2) + ".";
    const CliResult set = RunCli(L"set --no-verify --user PC\\anna", "Wow-Pw-7731\n", cli);
    EXPECT_EQ(set.exitCode, 1u);
    EXPECT_TRUE(Contains(set.err, secretRefused)) << set.err;
    EXPECT_EQ(keys.winlogon.Values(), configured) << Describe(keys.winlogon.Values());

    const CliResult remove = RunCli(L"remove", "", cli);
    EXPECT_EQ(remove.exitCode, 0u) << remove.err;
    RegValues off = kOn;
    off[L"AutoAdminLogon"] = TextValue(L"0");
    EXPECT_EQ(keys.winlogon.Values(), off) << Describe(keys.winlogon.Values());

    EXPECT_EQ(RunCli(L"status", "", cli).exitCode, 5u) << "status after remove";
    EXPECT_FALSE(WinlogonExists(KEY_WOW64_32KEY)) << "a Winlogon key was made in Wow6432Node";
}

// The console program's resources: it runs with the rights of its prompt, and says what it is.
TEST(CliResources, AsInvokerManifestAndItsOwnVersionInfo)
{
    HMODULE module = LoadLibraryExW(CliPath().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << GetLastError();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << "no manifest (RT_MANIFEST 1)";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(bytes, SizeofResource(module, found));
    EXPECT_TRUE(Contains(manifest, "<requestedExecutionLevel level=\"asInvoker\"")) << manifest;
    EXPECT_FALSE(Contains(manifest, "requireAdministrator"));
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(117), MAKEINTRESOURCEW(14)), nullptr)
        << "no program icon";
    FreeLibrary(module);

    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(CliPath().c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(CliPath().c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    wchar_t* name = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904b0\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(name, L"tarvelin-cli.exe");
}

TEST(CliGerman, StatusAndRefusalsInGerman)
{
    StatusKeys keys;
    keys.Hold({{L"AutoAdminLogon", TextValue(L"1")}, {L"AutoLogonCount", NumberValue(1)}});
    const CliResult status = RunCli(L"status");
    EXPECT_EQ(status.exitCode, 6u);
    EXPECT_EQ(status.out, "Automatische Anmeldung: an\n"
                          "Dom\xC3\xA4ne: (keine)\n"
                          "Benutzer: (keine)\n"
                          "Gespeichertes Passwort: keines\n"
                          "Passwort im Klartext in der Registrierung: nein\n"
                          "Anmeldez\xC3\xA4hler: 1\n"
                          "Problem (no-password): es ist kein Passwort gespeichert, daher "
                          "schaltet Windows die automatische Anmeldung selbst aus.\n"
                          "Problem (no-user): es ist kein Benutzername gesetzt.\n"
                          "Warnung (logon-count): die automatische Anmeldung endet nach 1 "
                          "weiteren Starts (AutoLogonCount).\n"
                          "Ergebnis: Die automatische Anmeldung ist an, aber die genannten "
                          "Probleme verhindern sie.\n");

    // JSON is for scripts: the same in every language.
    EXPECT_TRUE(
        Contains(RunCli(L"status --json").out, "\"problems\":[\"no-password\",\"no-user\"]"));

    const CliResult refused = RunCli(L"set --user kiosk -p x");
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_TRUE(Contains(refused.err, "tarvelin-cli: das Passwort wird nie von der Befehlszeile "
                                      "genommen"))
        << refused.err;
    const CliResult empty = RunCli(L"set --user kiosk", "");
    EXPECT_EQ(empty.err, "tarvelin-cli: kein Passwort angegeben: Die erste Zeile der "
                         "Standardeingabe ist leer. Nichts wurde ge\xC3\xA4ndert.\n");
}
