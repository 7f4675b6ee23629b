#include "change_plan.h"

#include "winlogon_values.h"

const wchar_t* const kPlanValueNames[kPlanValueCount] = {
    kAutoAdminLogon, kDefaultDomainName, kDefaultUserName, kDefaultPassword, kAutoLogonCount,
};

namespace
{
bool Same(const ValueForm& a, const ValueForm& b)
{
    if (a.present != b.present)
        return false;
    if (!a.present)
        return true;
    if (a.type != b.type || a.longer || b.longer)
        return false;
    if (a.type == kRegDword)
        return a.number == b.number;
    std::size_t i = 0;
    for (; a.text[i] != L'\0'; ++i)
    {
        if (a.text[i] != b.text[i])
            return false;
    }
    return b.text[i] == L'\0';
}

// Plans `value` to become `wanted` unless it is that already (and was read).
void Want(ChangePlan& plan, const ChangeState& now, PlanValue value, const ValueForm& wanted)
{
    const auto i = static_cast<unsigned int>(value);
    if (now.unreadable[i] || !Same(now.values[i], wanted))
    {
        plan.change[i] = true;
        plan.after[i] = wanted;
    }
}
} // namespace

bool ChangePlan::Changes() const
{
    bool any = secret != SecretAction::Keep;
    for (const bool changes : change)
        any = any || changes;
    return any;
}

ChangePlan PlanSet(const ChangeState& now, const wchar_t* domain, const wchar_t* user,
                   std::uint32_t logonCount)
{
    ChangePlan plan;
    Want(plan, now, PlanValue::AutoAdminLogon, TextForm(L"1"));
    Want(plan, now, PlanValue::DefaultDomainName, TextForm(domain));
    Want(plan, now, PlanValue::DefaultUserName, TextForm(user));
    Want(plan, now, PlanValue::DefaultPassword, ValueForm());
    Want(plan, now, PlanValue::AutoLogonCount,
         logonCount != 0 ? NumberForm(logonCount) : ValueForm());
    if (now.secret != SecretFound::Same)
        plan.secret = SecretAction::Replace;
    return plan;
}

ChangePlan PlanRemove(const ChangeState& now)
{
    ChangePlan plan;
    const auto logon = static_cast<unsigned int>(PlanValue::AutoAdminLogon);
    if (now.unreadable[logon] ||
        (now.values[logon].present && !IsTextValue(now.values[logon], L"0")))
    {
        plan.change[logon] = true;
        plan.after[logon] = TextForm(L"0");
    }
    Want(plan, now, PlanValue::DefaultPassword, ValueForm());
    if (now.secret != SecretFound::NotFound)
        plan.secret = SecretAction::Blank;
    // Remove writes "0" whenever it runs: a plan that changes anything says so.
    if (plan.Changes() && !plan.change[logon] && !IsTextValue(now.values[logon], L"0"))
    {
        plan.change[logon] = true;
        plan.after[logon] = TextForm(L"0");
    }
    return plan;
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
