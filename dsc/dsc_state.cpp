#include "dsc_state.h"

#include "json_text.h"
#include "status_report.h"
#include "value_text.h"

namespace
{
void CopyText(const wchar_t* from, wchar_t (&to)[kFieldLimit + 1])
{
    std::size_t i = 0;
    for (; i < kFieldLimit && from[i] != L'\0'; ++i)
        to[i] = from[i];
    to[i] = L'\0';
}
} // namespace

void ShapeAsDesired(const DscAnswer& answer, SameNameFunction sameName, StatusSnapshot& snapshot)
{
    const DscInstance* instance = answer.instance;
    if (instance == nullptr)
        return;
    if (answer.user != nullptr && answer.domain != nullptr && !snapshot.userLonger &&
        !snapshot.domainLonger && sameName(snapshot.user, answer.user) &&
        sameName(snapshot.domain, answer.domain))
    {
        CopyText(instance->user, snapshot.user);
        if (instance->Has(DscProperty::Domain))
            CopyText(instance->domain, snapshot.domain);
    }
    if (instance->Has(DscProperty::LogonCount) && snapshot.hasLogonCount &&
        snapshot.logonCount >= 1 && snapshot.logonCount <= instance->logonCount)
        snapshot.logonCount = instance->logonCount;
}

bool ComposeDscState(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                     const DscAnswer& answer, TextBuffer& out)
{
    if (verdict.exitCode == kStatusUnreadableExitCode)
        return false;
    JsonObject json(out);
    AddJsonName(json.Key("user"), snapshot.user, snapshot.userLonger);
    AddJsonName(json.Key("domain"), snapshot.domain, snapshot.domainLonger);
    if (snapshot.hasLogonCount && snapshot.logonCount >= 1 &&
        snapshot.logonCount <= kDscLogonCountLimit)
        json.Number("logonCount", snapshot.logonCount);
    if (answer.instance != nullptr && answer.instance->Has(DscProperty::CheckCredentials))
        json.Bool("checkCredentials", answer.instance->checkCredentials);
    json.Bool("_exist", verdict.enabled);
    if (answer.instance != nullptr && answer.instance->Has(DscProperty::Fix))
    {
        const unsigned int left = verdict.causes & ~answer.repaired;
        TextBuffer& list = json.Key("fix").Add(L'[');
        for (unsigned int i = 0, n = 0; i < kCauseCount; ++i)
        {
            const unsigned int bit = 1u << i;
            if ((answer.instance->fixCauses & bit) != 0 && (left & bit) == 0)
                list.Add(n++ == 0 ? L"\"" : L",\"").Add(kCauses[i].id).Add(L'"');
        }
        list.Add(L']');
    }
    if (answer.inDesiredState != nullptr)
        json.Bool("_inDesiredState", *answer.inDesiredState);
    AddJsonCauses(json.Key("problems"), verdict.causes, true);
    AddJsonCauses(json.Key("warnings"), verdict.causes, false);
    json.End();
    out.Add(L'\n');
    return true;
}

namespace
{
bool CopyName(const ValueForm& value, wchar_t (&out)[kFieldLimit + 1])
{
    const bool text = value.present && value.type == kRegSz;
    for (std::size_t i = 0; i <= kFieldLimit; ++i)
        out[i] = text ? value.text[i] : L'\0';
    return text && value.longer;
}
} // namespace

void SnapshotAfterPlan(const ChangeState& before, const ChangePlan& plan, StatusSnapshot& snapshot)
{
    snapshot.autoAdminLogon = ValueAfter(before, plan, PlanValue::AutoAdminLogon);
    snapshot.domainLonger =
        CopyName(ValueAfter(before, plan, PlanValue::DefaultDomainName), snapshot.domain);
    snapshot.userLonger =
        CopyName(ValueAfter(before, plan, PlanValue::DefaultUserName), snapshot.user);
    snapshot.plainTextPassword =
        !plan.change[static_cast<unsigned int>(PlanValue::DefaultPassword)] && before.passwordText;
    const ValueForm& count = ValueAfter(before, plan, PlanValue::AutoLogonCount);
    snapshot.hasLogonCount = IsNumberValue(count);
    snapshot.logonCount = snapshot.hasLogonCount ? count.number : 0;
    if (plan.secret == SecretAction::Replace)
        snapshot.secret = SecretState::Present;
    else if (plan.secret == SecretAction::Delete)
        snapshot.secret = SecretState::Absent;
    if (plan.change[static_cast<unsigned int>(PlanValue::DefaultDomainName)] ||
        plan.change[static_cast<unsigned int>(PlanValue::DefaultUserName)])
    {
        snapshot.accountDisabled = false;
        snapshot.accountLocked = false;
        snapshot.passwordExpired = false;
        snapshot.unknownUser = false;
        snapshot.domainNotThisMachine = false;
    }
}
