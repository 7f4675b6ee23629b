// What the status of automatic logon means: from the values read (a snapshot) to whether it
// is on, what keeps Windows from logging on by itself, and what deserves a warning. Pure
// logic, tested natively; autologon/status_reader.h fills the snapshot.
#pragma once
#include <cstdint>

#include "change_result.h"

enum class SecretState
{
    Absent,  // the DefaultPassword secret does not exist, or holds an empty value
    Present, // it holds a non-empty value (never read further than that)
    Unknown  // it could not be read, usually for lack of administrator rights
};

struct StatusSnapshot
{
    bool autoAdminLogonOn = false;        // AutoAdminLogon is the text "1"
    wchar_t domain[kFieldLimit + 1] = {}; // DefaultDomainName, at most kFieldLimit characters
    bool domainLonger = false;            // ... and it holds more than that
    wchar_t user[kFieldLimit + 1] = {};   // DefaultUserName, likewise
    bool userLonger = false;
    bool plainTextPassword = false; // a DefaultPassword value stands in the Winlogon key
    bool hasLogonCount = false;     // AutoLogonCount exists as a number
    std::uint32_t logonCount = 0;
    bool legalNotice = false;        // a non-empty LegalNoticeCaption or LegalNoticeText
    bool passwordLessSignIn = false; // DevicePasswordLessBuildVersion is 2
    SecretState secret = SecretState::Unknown;
};

// Each keeps Windows from logging on by itself; listed only while automatic logon is on.
enum StatusProblem : unsigned int
{
    kProblemPasswordLessSignIn = 1u << 0,
    kProblemLegalNotice = 1u << 1,
    kProblemNoPassword = 1u << 2,
    kProblemNoUser = 1u << 3,
};
constexpr unsigned int kProblemKinds = 4;

// Worth knowing whether automatic logon is on or off.
enum StatusWarning : unsigned int
{
    kWarningPlainTextPassword = 1u << 0,
    kWarningLogonCount = 1u << 1,
    kWarningSecretUnknown = 1u << 2,
};
constexpr unsigned int kWarningKinds = 3;

// Exit codes of the status check.
constexpr int kStatusOnExitCode = 0;      // on, and nothing found stops it
constexpr int kStatusOffExitCode = 5;     // off
constexpr int kStatusStoppedExitCode = 6; // on, but a problem stops it

struct StatusVerdict
{
    bool enabled;
    unsigned int problems; // StatusProblem bits
    unsigned int warnings; // StatusWarning bits
    int exitCode;
};

StatusVerdict JudgeStatus(const StatusSnapshot& snapshot);
