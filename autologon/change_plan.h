// What a change would do: the machine's state as read, the state a set or remove wants, and
// the difference, value by value. Free of Windows headers: the comparisons are tested natively,
// and the reports and the dry run are composed from the plan.
#pragma once
#include <cstdint>

#include "value_form.h"

// The Winlogon values a change may touch, in the order reports list them.
enum class PlanValue : unsigned int
{
    AutoAdminLogon,
    DefaultDomainName,
    DefaultUserName,
    DefaultPassword, // only whether it exists: its text is never read into a plan
    AutoLogonCount,
    Count
};
constexpr unsigned int kPlanValueCount = static_cast<unsigned int>(PlanValue::Count);

// The registry names, in the order of PlanValue.
extern const wchar_t* const kPlanValueNames[kPlanValueCount];

// The DefaultPassword secret as the change found it.
enum class SecretFound
{
    NotFound,   // it does not exist at all
    Blank,      // it exists and is empty, as a remove leaves it
    Same,       // it holds exactly the password given
    Different,  // it holds something else
    Unreadable, // it could not be read; counts as different, never as unchanged
};

struct ChangeState
{
    ValueForm values[kPlanValueCount];
    bool unreadable[kPlanValueCount] = {}; // could not be read: counts as different
    SecretFound secret = SecretFound::Unreadable;
};

enum class SecretAction
{
    Keep,
    Replace, // set: store the password
    Blank    // remove: blank it twice, current and old value
};

struct ChangePlan
{
    bool change[kPlanValueCount] = {};
    ValueForm after[kPlanValueCount]; // what each value that changes becomes
    SecretAction secret = SecretAction::Keep;

    bool Changes() const;
};

// What set changes: AutoAdminLogon "1", the domain and user as given, no plain-text
// DefaultPassword, AutoLogonCount as `logonCount` (none when 0), and the secret when it does
// not hold the password.
ChangePlan PlanSet(const ChangeState& now, const wchar_t* domain, const wchar_t* user,
                   std::uint32_t logonCount);

// What remove changes: AutoAdminLogon "0" unless it is absent or "0" already, no plain-text
// DefaultPassword, and the secret blanked whenever it exists at all: a blank one may still
// hold the password as its old value.
ChangePlan PlanRemove(const ChangeState& now);

// Whether two byte strings are equal, in a time that depends on their lengths only, never on
// where they differ: for comparing a stored password with the one given.
bool SameSecretBytes(const unsigned char* stored, std::size_t storedLength,
                     const unsigned char* given, std::size_t givenLength);
