#include "fix_plan.h"

#include "winlogon_values.h"

FixKind FixKindOf(Cause cause)
{
    switch (cause)
    {
    case Cause::PlainTextPassword:
    case Cause::Wow64Leftovers:
    case Cause::LogonCountUsedUp:
        return FixKind::Repaired;
    case Cause::PasswordExpires:
    case Cause::AccountLocked:
    case Cause::PasswordLessSignIn:
        return FixKind::NamedOnly;
    case Cause::LegalNotice:
    case Cause::EasPolicies:
    case Cause::HiddenUserName:
    case Cause::PasswordlessExperience:
    case Cause::PasswordProviderExcluded:
        return FixKind::Policy;
    case Cause::MustChangePassword:
    case Cause::PasswordExpired:
    case Cause::AccountDisabled:
    case Cause::AccountExpired:
    case Cause::AccountExpires:
    case Cause::LogonHours:
    case Cause::UnknownUser:
    case Cause::SecretUnknown: // without the rights to read it, nothing can be judged
        return FixKind::Account;
    case Cause::NoPassword:
    case Cause::NoUser:
    case Cause::LogonCount:
    case Cause::AutoAdminLogonUnusual:
    case Cause::DomainNotThisMachine:
    case Cause::Count:
        break;
    }
    return FixKind::BySet;
}

namespace
{
unsigned int Index(PlanValue value)
{
    return static_cast<unsigned int>(value);
}

class Planner
{
  public:
    Planner(const FixFacts& facts, FixPlan& plan) : facts_(facts), plan_(plan) {}

    void Cause(::Cause cause)
    {
        switch (cause)
        {
        case Cause::PlainTextPassword:
            return PlainText();
        case Cause::Wow64Leftovers:
            return Leftovers();
        case Cause::LogonCountUsedUp:
            return Delete(cause, FixTarget::Winlogon, PlanValue::AutoLogonCount,
                          facts_.winlogon.values[Index(PlanValue::AutoLogonCount)]);
        case Cause::PasswordExpires:
            return Flags(cause, flags_ | kFlagDontExpire);
        case Cause::AccountLocked:
            return Flags(cause, flags_ & ~kFlagLockout);
        case Cause::PasswordLessSignIn: {
            FixStep& step = Add(cause, FixTarget::PasswordLess, L"DevicePasswordLessBuildVersion");
            step.before = facts_.passwordLess;
            step.after = NumberForm(0);
            return;
        }
        default:
            return;
        }
    }

  private:
    FixStep& Add(::Cause cause, FixTarget target, const wchar_t* value)
    {
        FixStep& step = plan_.steps[plan_.count++];
        step = FixStep();
        step.cause = cause;
        step.target = target;
        step.value = value;
        plan_.repaired |= CauseBit(cause);
        return step;
    }

    void Delete(::Cause cause, FixTarget target, PlanValue value, const ValueForm& before)
    {
        Add(cause, target, kPlanValueNames[Index(value)]).before = before;
    }

    // The plain-text password moves into the secret where the secret holds none (in one
    // store: it replaces nothing), and the value goes in both views. Where the secret cannot
    // be read, the text may be the only copy of the password: nothing is planned.
    void PlainText()
    {
        const SecretFound secret = facts_.winlogon.secret;
        if (secret == SecretFound::Unreadable)
        {
            plan_.undecided = true;
            return;
        }
        const unsigned int password = Index(PlanValue::DefaultPassword);
        if (secret == SecretFound::NotFound || secret == SecretFound::Blank)
            Add(Cause::PlainTextPassword, FixTarget::Secret, nullptr);
        Delete(Cause::PlainTextPassword, FixTarget::Winlogon, PlanValue::DefaultPassword,
               facts_.winlogon.values[password]);
        if (facts_.twoViews && facts_.passwordText32)
            Delete(Cause::PlainTextPassword, FixTarget::Winlogon32, PlanValue::DefaultPassword,
                   facts_.winlogon32[password]);
    }

    // The 32-bit view's Winlogon values that differ from the real ones: Windows never reads
    // them, and a password there is readable.
    void Leftovers()
    {
        for (unsigned int i = 0; i < kPlanValueCount && facts_.twoViews; ++i)
        {
            const ValueForm& left = facts_.winlogon32[i];
            const bool password = i == Index(PlanValue::DefaultPassword);
            const bool done = password &&
                              (plan_.repaired & CauseBit(Cause::PlainTextPassword)) != 0 &&
                              facts_.passwordText32;
            // A DefaultPassword is known by its type alone: any is a leftover.
            if (left.present && !done &&
                (password || facts_.unreadable32 ||
                 !SameValueForm(left, facts_.winlogon.values[i])))
                Delete(Cause::Wow64Leftovers, FixTarget::Winlogon32, static_cast<PlanValue>(i),
                       left);
        }
    }

    void Flags(::Cause cause, std::uint32_t after)
    {
        FixStep& step = Add(cause, FixTarget::Account, nullptr);
        step.flagsBefore = flags_;
        step.flagsAfter = after;
        flags_ = after;
    }

    const FixFacts& facts_;
    FixPlan& plan_;
    std::uint32_t flags_ = facts_.accountFlags; // as the steps before leave them
};
} // namespace

FixPlan PlanFix(const FixFacts& facts, unsigned int named)
{
    FixPlan plan;
    unsigned int wanted = named;
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        const FixKind kind = FixKindOf(static_cast<Cause>(i));
        if (named == 0 && kind == FixKind::Repaired)
            wanted |= 1u << i;
        if ((named & (1u << i)) != 0 && kind != FixKind::Repaired && kind != FixKind::NamedOnly)
            plan.refused |= 1u << i;
    }
    if (plan.refused != 0)
        return plan;
    Planner planner(facts, plan);
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((facts.causes & wanted & (1u << i)) != 0)
            planner.Cause(static_cast<Cause>(i));
    }
    plan.left = facts.causes & ~plan.repaired;
    return plan;
}
