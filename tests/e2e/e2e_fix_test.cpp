// tarvelin-cli fix end to end, through the stand-in build (tests/e2e/standin_cli.cpp), whose
// secret and local account live in the test prefix's registry: each starting state through
// fix --check, fix and fix again, the plan the same as what was done, the second run idle,
// and the registry, the secret and the account as the repair leaves them.
#include <windows.h>

#include <lm.h>

#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace
{
const wchar_t kAccountKey[] = L"SOFTWARE\\TarvelinTest\\StandInAccount";
const wchar_t kPlain[] = L"Fix-Pw-\u00e4-3307";
constexpr DWORD kDay = 86400;

// A JSON array member ("fixed", "left"), or "" when there is none.
std::string Array(const std::string& json, const std::string& name)
{
    const size_t start = json.find("\"" + name + "\":[");
    return start == std::string::npos ? "" : json.substr(start, json.find(']', start) - start + 1);
}

// The machine a fix starts from, and what it is to leave.
struct Machine
{
    RegValues winlogon;
    RegValues wow;          // the 32-bit view's Winlogon key
    RegValues passwordLess; // PasswordLess\Device
    RegValues account;      // the stand-in account
    const wchar_t* secret;
};
} // namespace

TEST(CliFix, EachStartingStateRepairedOnceAndNoMore)
{
    StatusKeys keys;
    MachineKey secret{L"SOFTWARE\\TarvelinTest\\StandInSecret"};
    MachineKey account{kAccountKey};
    MachineKey wow(kWinlogon, KEY_WOW64_32KEY);
    wow.Hold({{L"Marker", TextValue(L"32")}});
    const bool twoViews = keys.winlogon.Values().count(L"Marker") == 0;
    const RegValues on = OnAs(ThisComputer(), L"kiosk");
    const RegValues plain = With(on, {{L"DefaultPassword", TextValue(kPlain)}});
    const RegValues aging = {{L"Flags", NumberValue(0)},
                             {L"PasswordAge", NumberValue(10 * kDay)},
                             {L"MaxPasswordAge", NumberValue(42 * kDay)}};
    const RegValues never = With(aging, {{L"Flags", NumberValue(UF_DONT_EXPIRE_PASSWD)}});
    const struct
    {
        const char* name;
        const wchar_t* arguments;
        Machine before;
        Machine after;
        std::string fixed; // the JSON's "fixed", of the dry run and of the real run
    } rows[] = {
        {"a plain-text password moves into an empty secret",
         L"",
         {plain, {}, {}, never, nullptr},
         {on, {}, {}, never, kPlain},
         "[\"plain-text-password\"]"},
        {"... and is only deleted beside a stored one",
         L"",
         {plain, {}, {}, never, L"Stored-Pw"},
         {on, {}, {}, never, L"Stored-Pw"},
         "[\"plain-text-password\"]"},
        {"two at once: the count used up too",
         L"",
         {With(plain, {{L"AutoLogonCount", NumberValue(0)}}), {}, {}, never, nullptr},
         {on, {}, {}, never, kPlain},
         "[\"logon-count-used-up\",\"plain-text-password\"]"},
        {"the 32-bit view's leftovers",
         L"",
         {on,
          {{L"AutoAdminLogon", TextValue(L"0")}, {L"DefaultPassword", TextValue(kPlain)}},
          {},
          never,
          L"Stored-Pw"},
         {on, {}, {}, never, L"Stored-Pw"},
         "[\"wow64-leftovers\"]"},
        {"named: the password never expires",
         L" password-expires",
         {on, {}, {}, aging, L"Stored-Pw"},
         {on, {}, {}, never, L"Stored-Pw"},
         "[\"password-expires\"]"},
        {"named: the account unlocked",
         L" account-locked",
         {on,
          {},
          {},
          With(never, {{L"Flags", NumberValue(UF_DONT_EXPIRE_PASSWD | UF_LOCKOUT)}}),
          L"Stored-Pw"},
         {on, {}, {}, never, L"Stored-Pw"},
         "[\"account-locked\"]"},
        {"named: the password sign-in back",
         L" passwordless-sign-in",
         {on, {}, {{L"DevicePasswordLessBuildVersion", NumberValue(2)}}, never, L"Stored-Pw"},
         {on, {}, {{L"DevicePasswordLessBuildVersion", NumberValue(0)}}, never, L"Stored-Pw"},
         "[\"passwordless-sign-in\"]"},
        // What changes the account is left unless named, and says so.
        {"not named, left as it is",
         L"",
         {on, {}, {}, aging, L"Stored-Pw"},
         {on, {}, {}, aging, L"Stored-Pw"},
         "[]"},
        {"nothing to fix",
         L"",
         {on, {}, {}, never, L"Stored-Pw"},
         {on, {}, {}, never, L"Stored-Pw"},
         "[]"},
    };
    for (const auto& row : rows)
    {
        if (!twoViews && !row.before.wow.empty())
            continue; // a prefix made without 32-bit support has one view only
        keys.Hold(row.before.winlogon, {}, row.before.passwordLess);
        wow.Hold(twoViews ? row.before.wow : RegValues{});
        account.Hold(row.before.account);
        secret.Hold(SecretHolding(row.before.secret));
        const std::wstring command = std::wstring(L"fix") + row.arguments + L" --json";
        const CliResult check = RunCli(command + L" --check", "", StandInPath());
        const CliResult real = RunCli(command, "", StandInPath());
        const CliResult again = RunCli(command, "", StandInPath());
        const CliResult words = RunCli(std::wstring(L"fix") + row.arguments, "", StandInPath());

        const bool changes = row.fixed != "[]";
        EXPECT_EQ(check.exitCode, changes ? 7u : 0u) << row.name << ": " << check.err;
        EXPECT_EQ(real.exitCode, 0u) << row.name << ": " << real.err;
        EXPECT_EQ(Array(check.out, "fixed"), "\"fixed\":" + row.fixed) << row.name;
        EXPECT_EQ(Array(real.out, "fixed"), Array(check.out, "fixed")) << row.name;
        EXPECT_TRUE(Contains(real.out, changes ? "\"changed\":true" : "\"changed\":false"))
            << row.name << ": " << real.out;
        EXPECT_EQ(Array(again.out, "fixed"), "\"fixed\":[]") << row.name << ": the second run";
        EXPECT_EQ(words.exitCode, 0u) << row.name;
        EXPECT_EQ(keys.winlogon.Values(), row.after.winlogon) << row.name;
        EXPECT_EQ(keys.passwordLess.Values(), row.after.passwordLess) << row.name;
        EXPECT_EQ(wow.Values(), twoViews ? row.after.wow : keys.winlogon.Values()) << row.name;
        EXPECT_EQ(account.Values(), row.after.account) << row.name;
        EXPECT_EQ(secret.Values(), SecretHolding(row.after.secret)) << row.name;
        const std::string said = check.out + check.err + real.out + real.err + words.out;
        EXPECT_FALSE(Contains(said, "Fix-Pw")) << row.name << ": the password was shown";
    }

    // Left as it is, with the reason and the name that repairs it; a cause fix never repairs
    // is refused when named, and nothing changes.
    keys.Hold(With(on, {{L"LegalNoticeText", TextValue(L"Notice")}}));
    account.Hold(aging);
    secret.Hold(SecretHolding(L"Stored-Pw"));
    const CliResult left = RunCli(L"fix", "", StandInPath());
    EXPECT_TRUE(Contains(left.out, "Left as it is:\n  legal-notice: a policy sets it")) << left.out;
    EXPECT_TRUE(Contains(left.out, "\n  password-expires: repaired only when named (tarvelin-cli "
                                   "fix password-expires)"))
        << left.out;
    const CliResult refused = RunCli(L"fix legal-notice password-expires", "", StandInPath());
    EXPECT_EQ(refused.exitCode, 2u);
    EXPECT_TRUE(Contains(refused.err, "fix does not repair legal-notice: ")) << refused.err;
    EXPECT_EQ(account.Values(), aging) << "a refused fix changed the account";
}

// A repair in two steps whose second fails puts the first back: the plain-text password
// stands again, the secret holds nothing again, and the account is as it was.
TEST(CliFix, AFailedStepPutsEveryEarlierOneBack)
{
    StatusKeys keys;
    MachineKey secret{L"SOFTWARE\\TarvelinTest\\StandInSecret"};
    MachineKey account{kAccountKey};
    const RegValues plain =
        With(OnAs(ThisComputer(), L"kiosk"), {{L"DefaultPassword", TextValue(kPlain)}});
    const RegValues failing = {{L"Flags", NumberValue(0)},
                               {L"PasswordAge", NumberValue(10 * kDay)},
                               {L"MaxPasswordAge", NumberValue(42 * kDay)},
                               {L"SetInfoError", NumberValue(ERROR_ACCESS_DENIED)}};
    keys.Hold(plain);
    account.Hold(failing);
    secret.Hold({});
    const CliResult run =
        RunCli(L"fix plain-text-password password-expires --json", "", StandInPath());
    EXPECT_EQ(run.exitCode, 1u) << run.err;
    EXPECT_TRUE(Contains(run.err, "fix failed: password-expires: the account's flags could not be "
                                  "changed " +
                                      ErrorWords(ERROR_ACCESS_DENIED) +
                                      ".\nEvery value was put back as it was.\n"))
        << run.err;
    EXPECT_TRUE(Contains(run.out, "\"error\":\"set-account\",\"cause\":\"password-expires\""))
        << run.out;
    EXPECT_EQ(keys.winlogon.Values(), plain);
    EXPECT_EQ(secret.Values(), RegValues());
    EXPECT_EQ(account.Values(), failing);
    EXPECT_FALSE(Contains(run.out + run.err, "Fix-Pw"));
}
