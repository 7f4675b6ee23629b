// What the status of automatic logon means: from the values read (a snapshot) to whether it
// is on, what keeps Windows from logging on by itself, and what deserves a warning. Pure
// logic, tested natively; autologon/status_reader.h fills the snapshot.
#pragma once
#include <cstdint>

#include "account_dates.h"
#include "change_result.h"
#include "value_form.h"

enum class SecretState
{
    Absent,  // the DefaultPassword secret does not exist, or holds an empty value
    Present, // it holds a non-empty value (never read further than that)
    Unknown  // it could not be read, usually for lack of administrator rights
};

// The keeping task as status reports it.
enum class KeepTaskState
{
    Missing, // the record is there, the task is not
    Other,   // a task of its name does something else
    Unknown, // the Task Scheduler could not be asked (a standard user may not see it)
    Disabled,
    Ready,
    Running,
};

struct StatusSnapshot
{
    ValueForm autoAdminLogon;             // on when it is the text "1"
    wchar_t domain[kFieldLimit + 1] = {}; // DefaultDomainName, at most kFieldLimit characters
    bool domainLonger = false;            // ... and it holds more than that
    wchar_t user[kFieldLimit + 1] = {};   // DefaultUserName, likewise
    bool userLonger = false;
    bool domainIsThisComputer = false; // DefaultDomainName is "." or this computer's name
    bool plainTextPassword = false;    // a DefaultPassword value in the Winlogon key holds text
    bool hasLogonCount = false;        // AutoLogonCount exists as a number
    std::uint32_t logonCount = 0;
    bool legalNotice = false;        // a LegalNoticeCaption or LegalNoticeText holds text
    bool passwordLessSignIn = false; // DevicePasswordLessBuildVersion is 2
    SecretState secret = SecretState::Unknown;

    // What the account database says of DefaultUserName, for a local account only (see
    // AccountKind): a domain account is judged by the domain, and a guess would be worse than
    // nothing.
    bool accountDisabled = false;
    bool accountLocked = false;
    bool passwordExpired = false;
    bool unknownUser = false;
    // ... and what its dates and hours and the local password policy foretell, where the
    // database gives them (account_dates.h): the password's date only while it lies ahead.
    bool mustChangePassword = false;
    bool accountExpired = false;
    Moment passwordExpires = kNever;
    Moment accountExpires = kNever;
    unsigned shutOutDays = 0;       // bit n: weekday n (0 Sunday) has hours it may not log on
    std::uint32_t accountFlags = 0; // UF_*, as read
    Moment now = 0;                 // when it was read, and local time's lead on UTC: for the dates
    std::int64_t localOffset = 0;

    // Values under EAS\Policies that hold anything but zeros: Exchange ActiveSync password
    // policies may be in force. Their names, quoted and separated by ", ", as far as they fit.
    bool easPolicies = false;
    wchar_t easValues[kFieldLimit + 1] = {};
    bool easValuesLonger = false;
    bool domainNotThisMachine =
        false;                   // DefaultDomainName names neither this computer nor its domain
    bool wow64Leftovers = false; // Winlogon values in the 32-bit view differ from the real ones
    bool hiddenUserName = false; // the policy "Don't display user name at sign-in"
    bool passwordlessExperience = false;   // Windows Hello for Business passwordless experience
    bool passwordProviderExcluded = false; // the password credential provider is excluded

    // Whether automatic logon is kept (keep on): the record's account and what the Task
    // Scheduler says of the task; filled by status alone.
    bool kept = false;
    wchar_t keptUser[kFieldLimit + 1] = {};
    wchar_t keptDomain[kFieldLimit + 1] = {};
    KeepTaskState keepTask = KeepTaskState::Unknown;
    bool keepRan = false; // the task has run, and keepLastResult is its last exit code
    std::uint32_t keepLastResult = 0;

    // A value that could not be read (and that is not merely missing): nothing is judged
    // then, since any guess could be wrong. Names are the reader's constants.
    const wchar_t* unreadableKey = nullptr;
    const wchar_t* unreadableValue = nullptr;
    std::uint32_t unreadableError = 0;
};

// Every cause status knows, problems first. Each is one row of kCauses.
enum class Cause : unsigned int
{
    // Problems: each keeps Windows from logging on by itself.
    PasswordLessSignIn,
    LegalNotice,
    NoPassword,
    NoUser,
    LogonCountUsedUp,
    AccountDisabled,
    AccountLocked,
    PasswordExpired,
    UnknownUser,
    MustChangePassword,
    AccountExpired,
    // Warnings: it may not log on, or it is unsafe.
    PlainTextPassword,
    LogonCount,
    SecretUnknown,
    AutoAdminLogonUnusual,
    EasPolicies,
    DomainNotThisMachine,
    Wow64Leftovers,
    HiddenUserName,
    PasswordlessExperience,
    PasswordProviderExcluded,
    PasswordExpires,
    AccountExpires,
    LogonHours,
    Count
};
constexpr unsigned int kCauseCount = static_cast<unsigned int>(Cause::Count);

constexpr unsigned int CauseBit(Cause cause)
{
    return 1u << static_cast<unsigned int>(cause);
}

struct CauseRow
{
    const char* id;   // the name scripts match on
    bool problem;     // a problem stops automatic logon; a warning does not
    bool whileOnOnly; // listed only while automatic logon is on
    bool (*holds)(const StatusSnapshot& snapshot);
};
extern const CauseRow kCauses[kCauseCount];

// Exit codes of the status check.
constexpr int kStatusOnExitCode = 0;         // on, and nothing found stops it
constexpr int kStatusUnreadableExitCode = 1; // a value could not be read: nothing is judged
constexpr int kStatusOffExitCode = 5;        // off
constexpr int kStatusStoppedExitCode = 6;    // on, but a problem stops it

struct StatusVerdict
{
    bool enabled;
    unsigned int causes; // CauseBit of each cause found
    int exitCode;

    bool Has(Cause cause) const { return (causes & CauseBit(cause)) != 0; }
};

StatusVerdict JudgeStatus(const StatusSnapshot& snapshot);

// Who holds the account of DefaultDomainName and DefaultUserName, as far as the names tell.
enum class AccountKind
{
    Local,            // this computer's account database: the domain is this computer, and the
                      // name holds no "@", which no local account name may hold
    MicrosoftAccount, // the domain MicrosoftAccount, in any letter case
    EntraId,          // the domain AzureAD, in any letter case: Microsoft Entra ID
    Other,            // a domain, or a name@domain on this computer (a user principal name)
};
AccountKind KindOfAccount(const StatusSnapshot& snapshot);

// Automatic logon is on: AutoAdminLogon is the text "1" (REG_SZ or REG_EXPAND_SZ).
bool IsAutoAdminLogonOn(const ValueForm& value);
// AutoAdminLogon stands as Windows writes it: absent, or REG_SZ "0", "1" or empty.
bool IsUsualAutoAdminLogon(const ValueForm& value);
