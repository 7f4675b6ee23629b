#include "status_verdict.h"

#include "bounded_text.h"

AccountKind KindOfAccount(const StatusSnapshot& snapshot)
{
    if (!snapshot.domainLonger && IsAsciiNameAnyCase(snapshot.domain, "microsoftaccount"))
        return AccountKind::MicrosoftAccount;
    if (!snapshot.domainLonger && IsAsciiNameAnyCase(snapshot.domain, "azuread"))
        return AccountKind::EntraId;
    bool at = false;
    for (const wchar_t* c = snapshot.user; *c != L'\0'; ++c)
        at = at || *c == L'@';
    return snapshot.domainIsThisComputer && !at ? AccountKind::Local : AccountKind::Other;
}

bool IsAutoAdminLogonOn(const ValueForm& value)
{
    return IsTextValue(value, L"1", true);
}

bool IsUsualAutoAdminLogon(const ValueForm& value)
{
    return !value.present || IsTextValue(value, L"0") || IsTextValue(value, L"1") ||
           IsTextValue(value, L"");
}

// The rows in the order of Cause. The reads behind each field are in the status reader.
const CauseRow kCauses[kCauseCount] = {
    {"passwordless-sign-in", true, true,
     [](const StatusSnapshot& s) { return s.passwordLessSignIn; }},
    {"legal-notice", true, true, [](const StatusSnapshot& s) { return s.legalNotice; }},
    // Windows switches automatic logon off by itself when it finds no password at all. An
    // unknown secret may well hold one, so only a known absence counts.
    {"no-password", true, true,
     [](const StatusSnapshot& s) {
         return s.secret == SecretState::Absent && !s.plainTextPassword;
     }},
    {"no-user", true, true, [](const StatusSnapshot& s) { return s.user[0] == L'\0'; }},
    // At 0 Windows switches automatic logon off at the next start.
    {"logon-count-used-up", true, true,
     [](const StatusSnapshot& s) { return s.hasLogonCount && s.logonCount == 0; }},
    {"account-disabled", true, true, [](const StatusSnapshot& s) { return s.accountDisabled; }},
    {"account-locked", true, true, [](const StatusSnapshot& s) { return s.accountLocked; }},
    {"password-expired", true, true, [](const StatusSnapshot& s) { return s.passwordExpired; }},
    {"unknown-user", true, true, [](const StatusSnapshot& s) { return s.unknownUser; }},
    // "User must change password at next logon": Windows asks for a new one instead.
    {"must-change-password", true, true,
     [](const StatusSnapshot& s) { return s.mustChangePassword; }},
    {"account-expired", true, true, [](const StatusSnapshot& s) { return s.accountExpired; }},
    {"plain-text-password", false, false,
     [](const StatusSnapshot& s) { return s.plainTextPassword; }},
    // A count that stands while automatic logon is off ends nothing (remove deletes it).
    {"logon-count", false, true,
     [](const StatusSnapshot& s) { return s.hasLogonCount && s.logonCount != 0; }},
    {"secret-unknown", false, false,
     [](const StatusSnapshot& s) { return s.secret == SecretState::Unknown; }},
    // Read as off unless it is the text "1"; whether Windows honours other forms is not known.
    {"auto-admin-logon-unusual", false, false,
     [](const StatusSnapshot& s) { return !IsUsualAutoAdminLogon(s.autoAdminLogon); }},
    // Microsoft documents that automatic logon does not work while EAS password restrictions
    // are active, but not which values make them active: the values found are named.
    {"eas-policies", false, true, [](const StatusSnapshot& s) { return s.easPolicies; }},
    // A renamed computer keeps its old name here, and the logon then fails.
    {"domain-not-this-machine", false, true,
     [](const StatusSnapshot& s) { return s.domainNotThisMachine; }},
    // Written by some 32-bit tool: Windows never reads them, but a password there is readable.
    {"wow64-leftovers", false, false, [](const StatusSnapshot& s) { return s.wow64Leftovers; }},
    {"hidden-user-name", false, true, [](const StatusSnapshot& s) { return s.hiddenUserName; }},
    // Microsoft documents that it leaves local accounts alone and affects Entra ID accounts
    // only; a Microsoft account is none, a domain's or a name@domain may be one.
    {"passwordless-experience", false, true,
     [](const StatusSnapshot& s) {
         const AccountKind kind = KindOfAccount(s);
         return s.passwordlessExperience && kind != AccountKind::Local &&
                kind != AccountKind::MicrosoftAccount;
     }},
    {"password-provider-excluded", false, true,
     [](const StatusSnapshot& s) { return s.passwordProviderExcluded; }},
    // What works today and stops on a day ahead: the password's and the account's expiry,
    // and the hours the account may log on.
    {"password-expires", false, true,
     [](const StatusSnapshot& s) { return s.passwordExpires != kNever; }},
    {"account-expires", false, true,
     [](const StatusSnapshot& s) { return s.accountExpires != kNever && !s.accountExpired; }},
    {"logon-hours", false, true, [](const StatusSnapshot& s) { return s.shutOutDays != 0; }},
};

StatusVerdict JudgeStatus(const StatusSnapshot& snapshot)
{
    StatusVerdict verdict = {IsAutoAdminLogonOn(snapshot.autoAdminLogon), 0, kStatusOffExitCode};
    if (snapshot.unreadableValue != nullptr)
    {
        verdict.exitCode = kStatusUnreadableExitCode;
        return verdict;
    }
    bool stopped = false;
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        const CauseRow& row = kCauses[i];
        if ((row.whileOnOnly && !verdict.enabled) || !row.holds(snapshot))
            continue;
        verdict.causes |= 1u << i;
        stopped = stopped || row.problem;
    }
    if (verdict.enabled)
        verdict.exitCode = stopped ? kStatusStoppedExitCode : kStatusOnExitCode;
    return verdict;
}
