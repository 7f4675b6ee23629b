#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "cause_names.h"
#include "status_verdict.h"

namespace
{
// A text of a type other than REG_SZ.
ValueForm Text(const wchar_t* text, std::uint32_t type)
{
    ValueForm value = TextForm(text);
    value.type = type;
    return value;
}

// On, with a user and a stored secret: Windows logs on by itself.
StatusSnapshot Healthy()
{
    StatusSnapshot snapshot;
    snapshot.autoAdminLogon = TextForm(L"1");
    wcscpy(snapshot.domain, L"PC");
    snapshot.domainIsThisComputer = true;
    wcscpy(snapshot.user, L"kiosk");
    snapshot.secret = SecretState::Present;
    return snapshot;
}

} // namespace

TEST(StatusVerdict, EachCauseItsVerdictAndExitCode)
{
    const struct
    {
        const char* name;
        void (*change)(StatusSnapshot&);
        bool enabled;
        std::string causes;
        int exitCode;
    } cases[] = {
        {"healthy", [](StatusSnapshot&) {}, true, "", 0},
        {"Windows Hello required", [](StatusSnapshot& s) { s.passwordLessSignIn = true; }, true,
         "passwordless-sign-in", 6},
        {"legal notice", [](StatusSnapshot& s) { s.legalNotice = true; }, true, "legal-notice", 6},
        {"secret absent", [](StatusSnapshot& s) { s.secret = SecretState::Absent; }, true,
         "no-password", 6},
        {"secret absent, plain text stands in",
         [](StatusSnapshot& s) {
             s.secret = SecretState::Absent;
             s.plainTextPassword = true;
         },
         true, "plain-text-password", 0},
        {"secret unknown: it may hold one",
         [](StatusSnapshot& s) { s.secret = SecretState::Unknown; }, true, "secret-unknown", 0},
        {"no user", [](StatusSnapshot& s) { s.user[0] = L'\0'; }, true, "no-user", 6},
        {"logon count",
         [](StatusSnapshot& s) {
             s.hasLogonCount = true;
             s.logonCount = 3;
         },
         true, "logon-count", 0},
        // Windows switches automatic logon off at the next start.
        {"logon count used up", [](StatusSnapshot& s) { s.hasLogonCount = true; }, true,
         "logon-count-used-up", 6},
        // Only the text "1" is on; any other form keeps its verdict and is named.
        {"REG_DWORD 1", [](StatusSnapshot& s) { s.autoAdminLogon = NumberForm(1); }, false,
         "auto-admin-logon-unusual", 5},
        {"\"1\" with a blank", [](StatusSnapshot& s) { s.autoAdminLogon = TextForm(L"1 "); }, false,
         "auto-admin-logon-unusual", 5},
        {"REG_EXPAND_SZ \"1\"", [](StatusSnapshot& s) { s.autoAdminLogon = Text(L"1", 2); }, true,
         "auto-admin-logon-unusual", 0},
        {"REG_MULTI_SZ \"1\"", [](StatusSnapshot& s) { s.autoAdminLogon = Text(L"1", 7); }, false,
         "auto-admin-logon-unusual", 5},
        {"\"0\" is usual", [](StatusSnapshot& s) { s.autoAdminLogon = TextForm(L"0"); }, false, "",
         5},
        {"empty is usual", [](StatusSnapshot& s) { s.autoAdminLogon = TextForm(L""); }, false, "",
         5},
        {"absent is usual", [](StatusSnapshot& s) { s.autoAdminLogon = ValueForm(); }, false, "",
         5},
        // Off: only the warnings are listed.
        {"off with problems and warnings",
         [](StatusSnapshot& s) {
             s.autoAdminLogon = TextForm(L"0");
             s.passwordLessSignIn = true;
             s.user[0] = L'\0';
             s.secret = SecretState::Unknown;
             s.plainTextPassword = true;
             s.hasLogonCount = true;
         },
         false, "plain-text-password secret-unknown", 5},
        {"everything at once",
         [](StatusSnapshot& s) {
             s.passwordLessSignIn = true;
             s.legalNotice = true;
             s.secret = SecretState::Absent;
             s.user[0] = L'\0';
             s.hasLogonCount = true;
         },
         true, "passwordless-sign-in legal-notice no-password no-user logon-count-used-up", 6},
        // Which values make them active is not documented: a warning.
        {"EAS policies", [](StatusSnapshot& s) { s.easPolicies = true; }, true, "eas-policies", 0},
        {"account disabled and locked",
         [](StatusSnapshot& s) {
             s.accountDisabled = true;
             s.accountLocked = true;
         },
         true, "account-disabled account-locked", 6},
        {"password expired", [](StatusSnapshot& s) { s.passwordExpired = true; }, true,
         "password-expired", 6},
        {"unknown user", [](StatusSnapshot& s) { s.unknownUser = true; }, true, "unknown-user", 6},
        // Documented for Entra ID accounts, not for local ones nor Microsoft accounts.
        {"passwordless experience, local account",
         [](StatusSnapshot& s) { s.passwordlessExperience = true; }, true, "", 0},
        {"passwordless experience, Microsoft account",
         [](StatusSnapshot& s) {
             s.passwordlessExperience = true;
             wcscpy(s.domain, L"microsoftACCOUNT");
         },
         true, "", 0},
        {"warnings that may stop it",
         [](StatusSnapshot& s) {
             s.domainIsThisComputer = false; // a domain account
             s.domainNotThisMachine = true;
             s.hiddenUserName = true;
             s.passwordlessExperience = true;
             s.passwordProviderExcluded = true;
             s.wow64Leftovers = true;
         },
         true,
         "domain-not-this-machine wow64-leftovers hidden-user-name passwordless-experience "
         "password-provider-excluded",
         0},
        // Off, only what matters then: leftovers in the 32-bit view may hold a password.
        {"off with the same warnings",
         [](StatusSnapshot& s) {
             s.autoAdminLogon = ValueForm();
             s.easPolicies = true;
             s.unknownUser = true;
             s.domainNotThisMachine = true;
             s.hiddenUserName = true;
             s.wow64Leftovers = true;
         },
         false, "wow64-leftovers", 5},
        // A value that could not be read leaves nothing to judge.
        {"unreadable",
         [](StatusSnapshot& s) {
             s.unreadableKey = L"SOFTWARE";
             s.unreadableValue = L"AutoAdminLogon";
             s.user[0] = L'\0';
         },
         true, "", 1},
    };
    for (const auto& c : cases)
    {
        StatusSnapshot snapshot = Healthy();
        c.change(snapshot);
        const StatusVerdict verdict = JudgeStatus(snapshot);
        EXPECT_EQ(verdict.enabled, c.enabled) << c.name;
        EXPECT_EQ(CauseNames(verdict), c.causes) << c.name;
        EXPECT_EQ(verdict.exitCode, c.exitCode) << c.name;
    }
}

// Problems stand before warnings, so that a report lists them in that order.
TEST(StatusVerdict, ProblemsComeFirstInTheTable)
{
    bool warningSeen = false;
    for (const CauseRow& cause : kCauses)
    {
        EXPECT_FALSE(cause.problem && warningSeen) << cause.id;
        warningSeen = warningSeen || !cause.problem;
        EXPECT_TRUE(!cause.problem || cause.whileOnOnly) << cause.id;
    }
}
