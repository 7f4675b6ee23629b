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
    Blank,      // it exists and is empty
    Same,       // it holds exactly the password given
    Different,  // it holds something else
    Unreadable, // it could not be read; counts as different, never as unchanged
};

struct ChangeState
{
    ValueForm values[kPlanValueCount];
    bool unreadable[kPlanValueCount] = {}; // could not be read: counts as different
    // A DefaultPassword value is only ever found present (values[DefaultPassword], its type
    // alone) and holding text or not: what it holds is never read into a state.
    bool passwordText = false;
    SecretFound secret = SecretFound::Unreadable;
};

enum class SecretAction
{
    Keep,
    Replace, // set: store the password
    Delete   // remove: blank it twice, current and old value, then delete it
};

// Whether two account names are the same name. Windows compares them without regard to
// letter case (CompareStringOrdinal); the plans get the comparison from their caller, so
// that they stay free of Windows headers.
using SameNameFunction = bool (*)(const wchar_t* a, const wchar_t* b);

struct ChangePlan
{
    bool set = true; // a set's plan, or a remove's: they are carried out differently
    bool change[kPlanValueCount] = {};
    ValueForm after[kPlanValueCount]; // what each value that changes becomes
    SecretAction secret = SecretAction::Keep;

    bool Changes() const;
    bool ChangesValues() const;
};

// What set changes: AutoAdminLogon "1", the domain and user as given, no DefaultPassword
// value, the secret when it does not hold the password, and AutoLogonCount: none when
// `logonCount` is 0, else a count from 1 to `logonCount` stands as met where automatic logon
// was on already for the same user and domain (Windows is counting it down), and any other
// is written anew. A name that differs only in letter case is the same
// name; it is written as given only when something else changes anyway.
ChangePlan PlanSet(const ChangeState& now, const wchar_t* domain, const wchar_t* user,
                   std::uint32_t logonCount, SameNameFunction sameName);

// What remove changes: AutoAdminLogon "0" unless it is absent or "0" already, a
// DefaultPassword value that holds text deleted, AutoLogonCount deleted whatever it holds, and
// the secret deleted whenever it exists at
// all (a blank one may still hold the password as its old value). Nothing else: a remove that
// finds all that done changes nothing, and so does the next.
ChangePlan PlanRemove(const ChangeState& now);

// Whether two values stand alike: both absent, or of one type with the same number or the
// same whole text.
bool SameValueForm(const ValueForm& a, const ValueForm& b);

// What a value is when the plan has run: its change, or what it was.
const ValueForm& ValueAfter(const ChangeState& now, const ChangePlan& plan, PlanValue value);

// Whether two byte strings are equal, in a time that depends on their lengths only, never on
// where they differ: for comparing a stored password with the one given.
bool SameSecretBytes(const unsigned char* stored, std::size_t storedLength,
                     const unsigned char* given, std::size_t givenLength);
