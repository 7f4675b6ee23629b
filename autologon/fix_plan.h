// What `fix` repairs of the causes status names, and how: the plan from the facts read, step
// by step, so that a dry run lists exactly what the real run does. Pure logic, tested
// natively; autologon/fix_apply.h reads the facts and carries the plan out.
#pragma once
#include <cstddef>
#include <cstdint>

#include "change_plan.h"
#include "status_verdict.h"

// How fix stands to a cause.
enum class FixKind : unsigned char
{
    Repaired,  // belongs to automatic logon itself: repaired without being named
    NamedOnly, // changes the account or the sign-in settings: repaired only when named
    Policy,    // set by a policy, which would set it again: never repaired
    Account,   // needs a person's decision about the account: never repaired
    BySet,     // tarvelin-cli set repairs it, with the password it needs
};
FixKind FixKindOf(Cause cause);

// Where a step acts.
enum class FixTarget : unsigned char
{
    Winlogon,     // the Winlogon key, in the view Windows reads at logon
    Winlogon32,   // the same key in the 32-bit view (Wow6432Node), on 64-bit Windows
    PasswordLess, // PasswordLess\Device
    Secret,       // the DefaultPassword secret: the plain-text password moves into it
    Account,      // the local account's flags
};

struct FixStep
{
    Cause cause;
    FixTarget target;
    const wchar_t* value;      // the registry value's name; null for the secret and the account
    ValueForm before;          // a registry value as found (a DefaultPassword only by its type)
    ValueForm after;           // and what it becomes: absent, or a number
    std::uint32_t flagsBefore; // the account: its flags as found,
    std::uint32_t flagsAfter;  // and as they become
};

// What fix found, as far as its plan needs it.
struct FixFacts
{
    unsigned int causes = 0; // CauseBit of every cause status finds now
    ChangeState winlogon;    // the Winlogon values of the view Windows reads, the secret
    bool twoViews = false;   // 64-bit Windows: the 32-bit view is a key of its own
    ValueForm winlogon32[kPlanValueCount]; // ... and its Winlogon values (DefaultPassword by
    bool passwordText32 = false;           // its type, and whether it holds text)
    bool unreadable32 = false;             // a value of that view could not be read
    ValueForm passwordLess;                // DevicePasswordLessBuildVersion
    std::uint32_t accountFlags = 0;        // the local account's, where it was read
};

constexpr std::size_t kFixStepLimit = 16;

struct FixPlan
{
    FixStep steps[kFixStepLimit] = {};
    std::size_t count = 0;
    unsigned int repaired = 0; // CauseBit of each cause the steps repair
    unsigned int left = 0;     // of each cause found that fix leaves as it is
    unsigned int refused = 0;  // of each cause named that fix never repairs: nothing is done
    bool undecided = false;    // a plain-text password found, but the secret unreadable: it is
                               // not known whether the text is the only copy of the password
};

// The plan for the causes `named` (CauseBit; 0: those fix repairs unasked). A cause that is
// named but not found needs nothing; one named that fix never repairs refuses the whole run.
FixPlan PlanFix(const FixFacts& facts, unsigned int named);

// The account's flags fix sets or clears, by UF_* value.
constexpr std::uint32_t kFlagLockout = 0x10;       // UF_LOCKOUT
constexpr std::uint32_t kFlagDontExpire = 0x10000; // UF_DONT_EXPIRE_PASSWD
