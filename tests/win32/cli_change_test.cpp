// set and remove of tarvelin-cli: the order of the checks, the password input, the
// credential check's reasons, and the change through the core. Under Wine LogonUserW always
// succeeds, so the check is handed a stand-in for exactly that call (the function is an
// argument of the check: mingw imports LogonUserW through a pointer, which a test cannot
// replace at link time the way it replaces the Lsa* calls); the secret store is the writer
// tests' stand-in, and a scratch key stands in for HKEY_LOCAL_MACHINE. Standard input,
// output and error are files.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "account_name.h"
#include "administrator.h"
#include "commands.h"
#include "system_words.h"
#include "test_files.h"
#include "token_util.h"
#include "writer_fixture.h"

namespace
{
struct LogonCall
{
    std::wstring user;
    std::wstring domain;
    bool domainNull = false;
    std::wstring password;
    DWORD type = 0;
    DWORD provider = 0;
};

std::vector<LogonCall> g_logons;
DWORD g_logonError = 0; // 0: accepted
HANDLE g_token = nullptr;

BOOL WINAPI LogonDouble(LPCWSTR user, LPCWSTR domain, LPCWSTR password, DWORD type, DWORD provider,
                        PHANDLE token)
{
    g_logons.push_back(
        {user, domain != nullptr ? domain : L"", domain == nullptr, password, type, provider});
    if (g_logonError != 0)
    {
        *token = nullptr;
        SetLastError(g_logonError);
        return FALSE;
    }
    // A real handle, so that the test can see it closed.
    g_token = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    *token = g_token;
    return TRUE;
}

BOOL WINAPI FailsWithoutReason(LPCWSTR, LPCWSTR, LPCWSTR, DWORD, DWORD, PHANDLE token)
{
    *token = nullptr;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

struct CliRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
    LONGLONG inputRead = 0;
};

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = ARRAYSIZE(name);
    GetComputerNameW(name, &size);
    return name;
}

// Runs the command line with `input` on standard input, as an administrator or not. The
// machine is the caller's scratch machine, or a fresh one with an empty Winlogon key.
CliRun RunWith(const std::vector<std::wstring>& words, const std::string& input,
               bool administrator = true, bool german = false,
               const ScratchMachine* machine = nullptr)
{
    std::unique_ptr<ScratchMachine> ownMachine;
    if (machine == nullptr)
    {
        ownMachine = std::make_unique<ScratchMachine>();
        ResetLsaDouble();
        machine = ownMachine.get();
    }
    EXPECT_TRUE(machine->ready());
    g_logons.clear();
    g_token = nullptr;
    std::vector<const wchar_t*> pointers;
    pointers.reserve(words.size());
    for (const std::wstring& word : words)
        pointers.push_back(word.c_str());
    Arguments arguments;
    ParseArguments(static_cast<int>(pointers.size()), pointers.data(), arguments);
    EXPECT_TRUE(arguments.command == Command::Set || arguments.command == Command::Remove);

    StdFile in(STD_INPUT_HANDLE, input);
    StdFile out(STD_OUTPUT_HANDLE);
    StdFile err(STD_ERROR_HANDLE);
    CliRun run;
    run.exitCode = RunChange(arguments, TextsFor(german), administrator, LogonDouble);
    run.out = out.Text();
    run.err = err.Text();
    run.inputRead = in.Position();
    return run;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The child of the privilege case: switches three held privileges off, runs the command, and
// reports on standard error those it found on again afterwards.
void ReportPrivilegesSwitchedOn(const std::vector<std::wstring>& words, const char* input)
{
    const wchar_t* const probes[] = {L"SeBackupPrivilege", L"SeDebugPrivilege", L"SeTcbPrivilege"};
    for (const wchar_t* probe : probes)
    {
        if (!SwitchPrivilege(probe, false) || PrivilegeEnabled(probe))
            std::fprintf(stderr, "%ls not held or not off; ", probe);
    }
    // A secret stands, so that remove has it to blank.
    ScratchMachine machine;
    LsaDouble& lsa = ResetLsaDouble();
    lsa.retrieveStatus = 0;
    lsa.retrieveValue = L"old";
    const CliRun run = RunWith(words, input, true, false, &machine);
    std::fprintf(stderr, "exit %d, %u stored; switched on:", run.exitCode,
                 static_cast<unsigned>(Lsa().stores.size()));
    bool any = false;
    for (const wchar_t* probe : probes)
    {
        if (PrivilegeEnabled(probe))
        {
            std::fprintf(stderr, " %ls", probe);
            any = true;
        }
    }
    std::fprintf(stderr, "%s\n", any ? "" : " none");
    std::fflush(stderr);
    ExitProcess(0);
}
} // namespace

TEST(CliChange, WithoutAdministratorRightsNothingIsReadOrChecked)
{
    for (const std::vector<std::wstring>& words :
         {std::vector<std::wstring>{L"set", L"--user", L"kiosk"}, {L"remove"}})
    {
        const CliRun run = RunWith(words, "hunter2\n", false);
        EXPECT_EQ(run.exitCode, 4) << run.err;
        EXPECT_EQ(run.err,
                  "tarvelin-cli: changing automatic logon needs administrator rights. "
                  "Run this command from an elevated prompt (\"Run as administrator\").\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.inputRead, 0) << "the password was read before the rights were checked";
        EXPECT_TRUE(g_logons.empty());
    }
}

TEST(CliChange, CredentialRefusalsGiveTheReasonAndExitCode3)
{
    const struct
    {
        DWORD error;
        std::string reason;
    } cases[] = {
        {ERROR_LOGON_FAILURE, "the user name or the password is wrong.\n"},
        {ERROR_PASSWORD_MUST_CHANGE,
         "the password has expired or must be changed at the next logon.\n"},
        {ERROR_ACCOUNT_LOCKED_OUT,
         "the account is disabled, locked or expired, or may not log on now or on this "
         "computer.\n"},
        {ERROR_LOGON_TYPE_NOT_GRANTED, "this user may not log on interactively on this computer "
                                       "(logon type not granted).\n"},
        // Not a refusal: the check could not be made.
        {ERROR_NO_LOGON_SERVERS, "the user name and password could not be checked " +
                                     ErrorWords(1311) +
                                     ". Where Windows cannot check them ahead, for instance with "
                                     "no domain controller in reach, --no-verify skips the "
                                     "check.\n"},
    };
    for (const auto& c : cases)
    {
        g_logonError = c.error;
        const CliRun run =
            RunWith({L"set", L"--user", L"kiosk", L"--domain", L"PC"}, "hunter2\r\n");
        g_logonError = 0;
        EXPECT_EQ(run.exitCode, 3) << c.error;
        const std::string lead =
            c.error == ERROR_NO_LOGON_SERVERS ? "" : "the credential check refused the logon: ";
        EXPECT_EQ(run.err, "tarvelin-cli: " + lead + c.reason + "Nothing was changed.\n");
        EXPECT_EQ(run.out, "");
        ASSERT_EQ(g_logons.size(), 1u) << c.error;
        EXPECT_EQ(g_logons[0].user, L"kiosk");
        EXPECT_EQ(g_logons[0].domain, L"PC");
        EXPECT_EQ(g_logons[0].password, L"hunter2") << "the line end is not part of the password";
        EXPECT_EQ(g_logons[0].type, static_cast<DWORD>(LOGON32_LOGON_INTERACTIVE));
        EXPECT_EQ(g_logons[0].provider, static_cast<DWORD>(LOGON32_PROVIDER_DEFAULT));
    }

    g_logonError = ERROR_ACCOUNT_DISABLED;
    const CliRun german = RunWith({L"set", L"--user", L"kiosk"}, "hunter2\n", true, true);
    g_logonError = 0;
    EXPECT_EQ(german.exitCode, 3);
    EXPECT_TRUE(Contains(german.err, "die Anmeldepr\xC3\xBC"
                                     "fung hat die Anmeldung abgelehnt: das Konto ist deaktiviert"))
        << german.err;
}

// The pair that is checked is the pair that is stored.
TEST(CliChange, TheCheckGetsTheDomainTheLogonWillUse)
{
    const struct
    {
        std::vector<std::wstring> words;
        std::wstring domain;
        bool domainNull;
        std::wstring account; // as the report names it
    } cases[] = {
        // As the dialog prefills it.
        {{L"set", L"--user", L"kiosk"}, ComputerName(), false, ComputerName() + L"\\kiosk"},
        {{L"set", L"--user", L"CORP\\kiosk"}, L"CORP", false, L"CORP\\kiosk"},
        {{L"set", L"--user", L"kiosk", L"--domain="}, L"", false, L"kiosk"},
        // A user@domain name names its domain: none is stored, and LogonUserW wants none.
        {{L"set", L"--user", L"kiosk@corp.example"}, L"", true, L"kiosk@corp.example"},
        // With a domain given, that pair is checked and stored as given.
        {{L"set", L"--user", L"kiosk@corp.example", L"--domain", L"CORP"},
         L"CORP",
         false,
         L"CORP\\kiosk@corp.example"},
    };
    for (const auto& c : cases)
    {
        ScratchMachine machine;
        ResetLsaDouble();
        const CliRun run = RunWith(c.words, "hunter2", true, false, &machine);
        ASSERT_EQ(g_logons.size(), 1u) << run.err;
        EXPECT_EQ(g_logons[0].domain, c.domain);
        EXPECT_EQ(g_logons[0].domainNull, c.domainNull);
        EXPECT_EQ(ReadValues(machine.winlogon()).at(L"DefaultDomainName"), TextValue(c.domain));
        const std::wstring& account = c.account;
        EXPECT_EQ(run.out, "Credential check: Windows accepts this user name and password.\n"
                           "Automatic logon is on for " +
                               std::string(account.begin(), account.end()) +
                               ".\nThe password is stored as the LSA secret DefaultPassword, "
                               "not in the registry.\n");
        DWORD flags = 0;
        EXPECT_FALSE(GetHandleInformation(g_token, &flags)) << "the logon token was left open";
    }
}

// Without the computer's name there is no domain to store: the change fails, nothing is read.
// Wine only: the name goes away with the scratch machine's ComputerName key because Wine's
// GetComputerNameW reads it through HKEY_LOCAL_MACHINE; Windows' does not, so there the name
// stays.
TEST(CliChangeWineOnly, NoComputerNameIsAFailureOfTheChange)
{
    ScratchMachine machine;
    ResetLsaDouble();
    ASSERT_EQ(
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\ComputerName"),
        ERROR_SUCCESS);
    const CliRun run = RunWith({L"set", L"--user", L"kiosk"}, "hunter2\n", true, false, &machine);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(Contains(run.err, "tarvelin-cli: the computer's name could not be read (error "))
        << run.err;
    EXPECT_EQ(run.inputRead, 0);
    EXPECT_TRUE(ReadValues(machine.winlogon()).empty());
}

TEST(CliChange, NoVerifySkipsTheCheckAndSaysSo)
{
    const CliRun run = RunWith({L"set", L"--user", L"kiosk", L"--no-verify"}, "hunter2\n");
    EXPECT_TRUE(g_logons.empty());
    EXPECT_TRUE(Contains(run.out, "Credential check skipped (--no-verify): the user name and "
                                  "password were not checked.\nAutomatic logon is on for "))
        << run.out;
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// What the dialog's Set and Remove do, done by the console program, and said in words.
TEST(CliChange, SetAndRemoveChangeTheMachineThroughTheCore)
{
    ScratchMachine machine;
    WriteValues(machine.winlogon(), {{L"Shell", TextValue(L"explorer.exe")},
                                     {L"DefaultPassword", TextValue(L"stale")}});
    ResetLsaDouble();
    CliRun run = RunWith({L"set", L"--user", L"PC\\kiosk"}, "p@ss w0rd\n", true, false, &machine);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const RegValues on = {{L"Shell", TextValue(L"explorer.exe")},
                          {L"AutoAdminLogon", TextValue(L"1")},
                          {L"DefaultDomainName", TextValue(L"PC")},
                          {L"DefaultUserName", TextValue(L"kiosk")}};
    EXPECT_EQ(ReadValues(machine.winlogon()), on) << Describe(ReadValues(machine.winlogon()));
    ASSERT_EQ(Lsa().stores.size(), 1u);
    EXPECT_EQ(Lsa().stores[0].bytes, Utf16Bytes(L"p@ss w0rd"));

    LsaDouble& stored = ResetLsaDouble();
    stored.retrieveStatus = 0;
    stored.retrieveValue = L"p@ss w0rd";
    run = RunWith({L"remove"}, "", true, false, &machine);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Automatic logon is off, and the stored password is deleted.\n");
    RegValues off = on;
    off[L"AutoAdminLogon"] = TextValue(L"0");
    EXPECT_EQ(ReadValues(machine.winlogon()), off);
    // Current and old value blanked, then the secret deleted.
    ASSERT_EQ(Lsa().stores.size(), 3u);
    EXPECT_EQ(Lsa().stores[0].bytes, Utf16Bytes(L""));
    EXPECT_EQ(Lsa().stores[1].bytes, Utf16Bytes(L""));
    EXPECT_TRUE(Lsa().stores[2].valueNull);

    // A Set whose secret fails, and whose values cannot all be put back, says so; exit 1.
    LsaDouble& lsa = ResetLsaDouble();
    lsa.storeStatuses = {kStatusAccessDenied};
    lsa.duringStore = [&] { machine.DeleteWinlogon(); };
    run = RunWith({L"set", L"--user", L"kiosk", L"--domain", L"PC"}, "pw\n", true, true, &machine);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(
        Contains(run.err, "LSA-Geheimnis DefaultPassword lie\xC3\x9F sich nicht schreiben " +
                              ErrorWords(5, "Fehler") +
                              ".\nDiese Werte lie\xC3\x9F"
                              "en sich nicht wiederherstellen: AutoAdminLogon " +
                              ErrorWords(1018, "Fehler") + ". "))
        << run.err;
}

// Every change is read back: a value that something else wrote meanwhile is a failure that
// names it, never "on" or "off" reported over it. Set writes AutoAdminLogon "1" after
// everything else, remove writes "0" before everything else, so that an interrupted run
// never leaves automatic logon on with half a set-up; and a failed set puts the secret back.
TEST(CliChange, EachChangeIsReadBackAndAutoAdminLogonComesLastOrFirst)
{
    const struct
    {
        const char* name;
        std::vector<std::wstring> words;
        const wchar_t* before;    // AutoAdminLogon
        const wchar_t* meanwhile; // the value written while the secret is stored
        const char* said;
        size_t stores; // after a failed set, the last two put the old password back
    } cases[] = {
        {"set",
         {L"set", L"--user", L"kiosk", L"--domain", L"PC"},
         L"0",
         L"DefaultUserName",
         "the value DefaultUserName does not hold what was written: something changed it "
         "meanwhile.\nEvery value was put back as it was.\n",
         4},
        {"remove",
         {L"remove"},
         L"1",
         L"AutoAdminLogon",
         "  the value AutoAdminLogon does not hold what was written: something changed it "
         "meanwhile.\nAutomatic logon may still be on.\n",
         3},
    };
    for (const auto& c : cases)
    {
        ScratchMachine machine;
        WriteValues(machine.winlogon(), {{L"AutoAdminLogon", TextValue(c.before)}});
        LsaDouble& lsa = ResetLsaDouble();
        lsa.retrieveStatus = 0;
        lsa.retrieveValue = L"old";
        RegValue logon; // as the first store finds it: "0" either way
        lsa.duringStore = [&] {
            if (logon.data.empty())
                logon = ReadValues(machine.winlogon())[L"AutoAdminLogon"];
            WriteValues(machine.winlogon(), {{c.meanwhile, TextValue(L"1")}});
        };
        const CliRun run = RunWith(c.words, "pw\n", true, false, &machine);
        EXPECT_EQ(run.exitCode, 1) << c.name << ": " << run.out;
        EXPECT_TRUE(Contains(run.err, c.said)) << c.name << ": " << run.err;
        EXPECT_EQ(logon, TextValue(L"0")) << c.name;
        ASSERT_EQ(Lsa().stores.size(), c.stores) << c.name;
        EXPECT_EQ(Lsa().stores.back().bytes, Utf16Bytes(c.words[0] == L"set" ? L"old" : L""))
            << c.name;
    }
}

// The dry run opens what the real run would write, with the same access, so that a missing
// key or right fails both alike: the same exit code, the same step, the same words.
TEST(CliChange, TheDryRunMeetsWhatTheRealRunMeets)
{
    const struct
    {
        const char* name;
        bool noKey;
        NTSTATUS policyOpen;
        std::string step;
    } faults[] = {
        {"no Winlogon key", true, 0,
         "the Winlogon key could not be opened " + ErrorWords(2) + ".\n"},
        {"no right to the policy", false, kStatusAccessDenied,
         "the Local Security Authority did not open its policy " + ErrorWords(5) + ".\n"},
    };
    for (const auto& fault : faults)
    {
        for (const bool check : {true, false})
        {
            ScratchMachine machine;
            if (fault.noKey)
                machine.DeleteWinlogon();
            ResetLsaDouble().openStatus = fault.policyOpen;
            std::vector<std::wstring> words = {L"set", L"--user", L"kiosk", L"--domain", L"PC"};
            if (check)
                words.emplace_back(L"--check");
            const CliRun run = RunWith(words, "pw\n", true, false, &machine);
            const std::string name = std::string(fault.name) + (check ? " (dry run)" : "");
            EXPECT_EQ(run.exitCode, 1) << name << ": " << run.out;
            EXPECT_TRUE(
                Contains(run.err, "automatic logon could not be switched on: " + fault.step))
                << name << ": " << run.err;
            if (!fault.noKey)
            {
                // The secret is read to be kept before the password is stored.
                EXPECT_EQ(Lsa().access, static_cast<ACCESS_MASK>(POLICY_GET_PRIVATE_INFORMATION))
                    << name;
                EXPECT_TRUE(ReadValues(machine.winlogon()).empty()) << name;
            }
        }
    }
}

// What the plan keeps is not touched: a set that changes only the user name never stores the
// secret, so a store that would fail is never made.
TEST(CliChange, WhatThePlanKeepsIsNotTouched)
{
    ScratchMachine machine;
    const auto on = [](const wchar_t* user) {
        return RegValues{{L"AutoAdminLogon", TextValue(L"1")},
                         {L"DefaultDomainName", TextValue(L"PC")},
                         {L"DefaultUserName", TextValue(user)}};
    };
    WriteValues(machine.winlogon(), on(L"old"));
    LsaDouble& lsa = ResetLsaDouble();
    lsa.retrieveStatus = 0;
    lsa.retrieveValue = L"pw";
    lsa.storeStatuses = {kStatusAccessDenied};
    const CliRun run =
        RunWith({L"set", L"--user", L"kiosk", L"--domain", L"PC"}, "pw\n", true, false, &machine);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Lsa().stores.empty());
    EXPECT_EQ(ReadValues(machine.winlogon()), on(L"kiosk"));
}

// The console program needs no privilege beyond administrator access to the key and the
// policy, and switches none on: privileges switched on would stay on for the rest of the
// process and pass to every process it starts. Three that the dialog's step would switch on
// stand for them all. The dialog's Set and Remove do switch them on
// (WriterPrivileges), once per process, so each row runs in a child process of its own (a
// death test) that neither path has touched.
// Wine only: Wine's token holds SeTcbPrivilege; an administrator's token on Windows does not
// (only SYSTEM's does), so there the child cannot switch it off and reports so.
TEST(CliChangeWineOnly, SetAndRemoveLeaveHeldPrivilegesOff)
{
    const struct
    {
        std::vector<std::wstring> words;
        const char* input;
        const char* report;
    } cases[] = {
        {{L"set", L"--user", L"kiosk", L"--domain", L"PC"},
         "hunter2\n",
         "^exit 0, 2 stored; switched on: none\n$"}, // stored twice over another password
        {{L"remove"}, "", "^exit 0, 3 stored; switched on: none\n$"},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(ReportPrivilegesSwitchedOn(c.words, c.input), ::testing::ExitedWithCode(0),
                    c.report);
}

TEST(CredentialCheck, ARefusalWithoutAnErrorIsStillARefusal)
{
    SetLastError(0xdeadbeef);
    EXPECT_EQ(CheckCredentials(L"PC", L"kiosk", L"pw", FailsWithoutReason),
              static_cast<DWORD>(ERROR_LOGON_FAILURE));
}

// A prompt that was not started "as administrator" holds the Administrators group for deny
// only: the check must say no there. A restricted token makes such a token here.
TEST(AdministratorCheck, DenyOnlyAdministratorsGroupIsNotAnAdministrator)
{
    ASSERT_TRUE(RunsAsAdministrator()) << "the tests run as administrator under Wine";

    HANDLE process = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process));
    BYTE sid[SECURITY_MAX_SID_SIZE] = {};
    DWORD size = sizeof sid;
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size));
    SID_AND_ATTRIBUTES disabled = {sid, 0};
    HANDLE restricted = nullptr;
    ASSERT_TRUE(
        CreateRestrictedToken(process, 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted))
        << GetLastError();
    HANDLE impersonation = nullptr;
    ASSERT_TRUE(DuplicateTokenEx(restricted, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                                 TokenImpersonation, &impersonation));
    ASSERT_TRUE(SetThreadToken(nullptr, impersonation));
    const bool asRestricted = RunsAsAdministrator();
    RevertToSelf();
    CloseHandle(impersonation);
    CloseHandle(restricted);
    CloseHandle(process);
    EXPECT_FALSE(asRestricted);
    EXPECT_TRUE(RunsAsAdministrator()) << "back to the process's own token";
}

// Names are the same as Windows compares them: in any letter case, but whole.
TEST(AccountName, TheSameNameInAnyLetterCaseButWhole)
{
    const struct
    {
        const wchar_t* stored;
        const wchar_t* wanted;
        bool same;
    } rows[] = {
        {L"kiosk", L"KIOSK", true},
        {L"\u00c4rger", L"\u00e4RGER", true},
        {L"kio", L"kiosk", false},
        {L"kiosk", L"kio", false},
        {L"", L"kiosk", false},
        {L"", L"", true},
        {L"stra\u00dfe", L"STRASSE", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(SameAccountName(row.stored, row.wanted), row.same) << "row " << &row - rows;
}
