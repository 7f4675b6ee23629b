#include <gtest/gtest.h>

#include <cwchar>

#include "status_verdict.h"

namespace
{
// On, with a user and a stored secret: Windows logs on by itself.
StatusSnapshot Healthy()
{
    StatusSnapshot snapshot;
    snapshot.autoAdminLogonOn = true;
    wcscpy(snapshot.domain, L"PC");
    wcscpy(snapshot.user, L"kiosk");
    snapshot.secret = SecretState::Present;
    return snapshot;
}
} // namespace

TEST(StatusVerdict, EachProblemAndWarningWhileOn)
{
    const struct
    {
        const char* name;
        void (*change)(StatusSnapshot&);
        unsigned int problems;
        unsigned int warnings;
        int exitCode;
    } cases[] = {
        {"healthy", [](StatusSnapshot&) {}, 0, 0, 0},
        {"Windows Hello required", [](StatusSnapshot& s) { s.passwordLessSignIn = true; },
         kProblemPasswordLessSignIn, 0, 6},
        {"legal notice", [](StatusSnapshot& s) { s.legalNotice = true; }, kProblemLegalNotice, 0,
         6},
        {"secret absent", [](StatusSnapshot& s) { s.secret = SecretState::Absent; },
         kProblemNoPassword, 0, 6},
        {"secret absent, plain text stands in",
         [](StatusSnapshot& s) {
             s.secret = SecretState::Absent;
             s.plainTextPassword = true;
         },
         0, kWarningPlainTextPassword, 0},
        {"secret unknown: it may hold one",
         [](StatusSnapshot& s) { s.secret = SecretState::Unknown; }, 0, kWarningSecretUnknown, 0},
        {"no user", [](StatusSnapshot& s) { s.user[0] = L'\0'; }, kProblemNoUser, 0, 6},
        {"logon count",
         [](StatusSnapshot& s) {
             s.hasLogonCount = true;
             s.logonCount = 3;
         },
         0, kWarningLogonCount, 0},
        {"logon count 0 is still a count",
         [](StatusSnapshot& s) {
             s.hasLogonCount = true;
             s.logonCount = 0;
         },
         0, kWarningLogonCount, 0},
        {"everything at once",
         [](StatusSnapshot& s) {
             s.passwordLessSignIn = true;
             s.legalNotice = true;
             s.secret = SecretState::Absent;
             s.user[0] = L'\0';
             s.hasLogonCount = true;
         },
         kProblemPasswordLessSignIn | kProblemLegalNotice | kProblemNoPassword | kProblemNoUser,
         kWarningLogonCount, 6},
    };
    for (const auto& c : cases)
    {
        StatusSnapshot snapshot = Healthy();
        c.change(snapshot);
        const StatusVerdict verdict = JudgeStatus(snapshot);
        EXPECT_TRUE(verdict.enabled) << c.name;
        EXPECT_EQ(verdict.problems, c.problems) << c.name;
        EXPECT_EQ(verdict.warnings, c.warnings) << c.name;
        EXPECT_EQ(verdict.exitCode, c.exitCode) << c.name;
    }
}

TEST(StatusVerdict, OffListsNoProblemsButKeepsTheWarnings)
{
    StatusSnapshot snapshot = Healthy();
    snapshot.autoAdminLogonOn = false;
    snapshot.passwordLessSignIn = true;
    snapshot.legalNotice = true;
    snapshot.user[0] = L'\0';
    snapshot.secret = SecretState::Unknown;
    snapshot.plainTextPassword = true;
    snapshot.hasLogonCount = true;
    const StatusVerdict verdict = JudgeStatus(snapshot);
    EXPECT_FALSE(verdict.enabled);
    EXPECT_EQ(verdict.problems, 0u);
    EXPECT_EQ(verdict.warnings,
              kWarningPlainTextPassword | kWarningLogonCount | kWarningSecretUnknown);
    EXPECT_EQ(verdict.exitCode, 5);
}
