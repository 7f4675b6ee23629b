#include "status_verdict.h"

StatusVerdict JudgeStatus(const StatusSnapshot& snapshot)
{
    StatusVerdict verdict = {snapshot.autoAdminLogonOn, 0, 0, kStatusOffExitCode};
    if (verdict.enabled)
    {
        if (snapshot.passwordLessSignIn)
            verdict.problems |= kProblemPasswordLessSignIn;
        if (snapshot.legalNotice)
            verdict.problems |= kProblemLegalNotice;
        // Windows switches automatic logon off by itself when it finds no password at all.
        // An unknown secret may well hold one, so only a known absence counts.
        if (snapshot.secret == SecretState::Absent && !snapshot.plainTextPassword)
            verdict.problems |= kProblemNoPassword;
        if (snapshot.user[0] == L'\0')
            verdict.problems |= kProblemNoUser;
        verdict.exitCode = verdict.problems == 0 ? kStatusOnExitCode : kStatusStoppedExitCode;
    }
    if (snapshot.plainTextPassword)
        verdict.warnings |= kWarningPlainTextPassword;
    if (snapshot.hasLogonCount)
        verdict.warnings |= kWarningLogonCount;
    if (snapshot.secret == SecretState::Unknown)
        verdict.warnings |= kWarningSecretUnknown;
    return verdict;
}
