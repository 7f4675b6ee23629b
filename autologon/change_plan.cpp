#include "change_plan.h"

#include "winlogon_values.h"

const wchar_t* const kPlanValueNames[kPlanValueCount] = {
    kAutoAdminLogon, kDefaultDomainName, kDefaultUserName, kDefaultPassword, kAutoLogonCount,
};

namespace
{
unsigned int Index(PlanValue value)
{
    return static_cast<unsigned int>(value);
}

void Plan(ChangePlan& plan, PlanValue value, const ValueForm& wanted)
{
    plan.change[Index(value)] = true;
    plan.after[Index(value)] = wanted;
}

// Plans `value` to become `wanted` unless it is that already (and was read).
void Want(ChangePlan& plan, const ChangeState& now, PlanValue value, const ValueForm& wanted)
{
    const unsigned int i = Index(value);
    if (now.unreadable[i] || !SameValueForm(now.values[i], wanted))
        Plan(plan, value, wanted);
}

// A name stands when it is a whole REG_SZ that names the same account.
bool NameStands(const ChangeState& now, PlanValue value, const wchar_t* wanted,
                SameNameFunction sameName)
{
    const ValueForm& stored = now.values[Index(value)];
    return !now.unreadable[Index(value)] && stored.present && stored.type == kRegSz &&
           !stored.longer && sameName(stored.text, wanted);
}

// Windows counts AutoLogonCount down at each automatic logon: a count left from 1 to the one
// asked for is that count, partly used, but only while Windows is counting it for this very
// set-up. A count left behind while automatic logon was off, or for another account, is
// someone else's and is written anew.
bool CountStands(const ChangeState& now, std::uint32_t logonCount, bool sameSetUp)
{
    const ValueForm& stored = now.values[Index(PlanValue::AutoLogonCount)];
    return sameSetUp && !now.unreadable[Index(PlanValue::AutoLogonCount)] &&
           IsNumberValue(stored) && stored.number >= 1 && stored.number <= logonCount;
}
} // namespace

bool ChangePlan::ChangesValues() const
{
    bool any = false;
    for (const bool changes : change)
        any = any || changes;
    return any;
}

bool ChangePlan::Changes() const
{
    return secret != SecretAction::Keep || ChangesValues();
}

ChangePlan PlanSet(const ChangeState& now, const wchar_t* domain, const wchar_t* user,
                   std::uint32_t logonCount, SameNameFunction sameName)
{
    ChangePlan plan;
    Want(plan, now, PlanValue::AutoAdminLogon, TextForm(L"1"));
    const struct
    {
        PlanValue value;
        const wchar_t* wanted;
    } names[] = {{PlanValue::DefaultDomainName, domain}, {PlanValue::DefaultUserName, user}};
    const unsigned int logon = Index(PlanValue::AutoAdminLogon);
    bool sameSetUp = !now.unreadable[logon] && IsTextValue(now.values[logon], L"1", true);
    for (const auto& name : names)
    {
        const bool stands = NameStands(now, name.value, name.wanted, sameName);
        sameSetUp = sameSetUp && stands;
        if (!stands)
            Plan(plan, name.value, TextForm(name.wanted));
    }
    Want(plan, now, PlanValue::DefaultPassword, ValueForm());
    if (logonCount == 0)
        Want(plan, now, PlanValue::AutoLogonCount, ValueForm());
    else if (!CountStands(now, logonCount, sameSetUp))
        Plan(plan, PlanValue::AutoLogonCount, NumberForm(logonCount));
    if (now.secret != SecretFound::Same)
        plan.secret = SecretAction::Replace;
    // A name in other letters is rewritten as given along with another change, never alone.
    if (plan.Changes())
    {
        for (const auto& name : names)
            Want(plan, now, name.value, TextForm(name.wanted));
    }
    return plan;
}

ChangePlan PlanRemove(const ChangeState& now)
{
    ChangePlan plan;
    plan.set = false;
    const unsigned int logon = Index(PlanValue::AutoAdminLogon);
    if (now.unreadable[logon] ||
        (now.values[logon].present && !IsTextValue(now.values[logon], L"0")))
        Plan(plan, PlanValue::AutoAdminLogon, TextForm(L"0"));
    // An empty or non-text value holds no password, and is no concern of remove's.
    if (now.unreadable[Index(PlanValue::DefaultPassword)] || now.passwordText)
        Plan(plan, PlanValue::DefaultPassword, ValueForm());
    // A count left behind would end a later set-up after that many starts, and make a later
    // set --logon-count take it for its own.
    Want(plan, now, PlanValue::AutoLogonCount, ValueForm());
    if (now.secret != SecretFound::NotFound)
        plan.secret = SecretAction::Delete;
    return plan;
}

bool SameValueForm(const ValueForm& a, const ValueForm& b)
{
    if (a.present != b.present)
        return false;
    if (!a.present)
        return true;
    if (a.type != b.type || a.longer || b.longer)
        return false;
    if (a.type == kRegDword)
        return IsNumberValue(a) && IsNumberValue(b) && a.number == b.number;
    std::size_t i = 0;
    for (; a.text[i] != L'\0'; ++i)
    {
        if (a.text[i] != b.text[i])
            return false;
    }
    return b.text[i] == L'\0';
}

const ValueForm& ValueAfter(const ChangeState& now, const ChangePlan& plan, PlanValue value)
{
    const unsigned int i = Index(value);
    return plan.change[i] ? plan.after[i] : now.values[i];
}

bool SameSecretBytes(const unsigned char* stored, std::size_t storedLength,
                     const unsigned char* given, std::size_t givenLength)
{
    // Every byte of the given password is looked at, whatever came before it.
    unsigned int difference = storedLength != givenLength ? 1u : 0u;
    for (std::size_t i = 0; i < givenLength; ++i)
    {
        const unsigned char other = i < storedLength ? stored[i] : static_cast<unsigned char>(0);
        difference |= static_cast<unsigned int>(other ^ given[i]);
    }
    return difference == 0;
}
