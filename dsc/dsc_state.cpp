#include "dsc_state.h"

#include "dsc_instance.h"
#include "json_text.h"
#include "status_report.h"
#include "value_text.h"

namespace
{
bool Compose(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
             const bool* inDesiredState, TextBuffer& out)
{
    if (verdict.exitCode == kStatusUnreadableExitCode)
        return false;
    JsonObject json(out);
    AddJsonName(json.Key("user"), snapshot.user, snapshot.userLonger);
    AddJsonName(json.Key("domain"), snapshot.domain, snapshot.domainLonger);
    if (snapshot.hasLogonCount && snapshot.logonCount >= 1 &&
        snapshot.logonCount <= kDscLogonCountLimit)
        json.Number("logonCount", snapshot.logonCount);
    json.Bool("_exist", verdict.enabled);
    if (inDesiredState != nullptr)
        json.Bool("_inDesiredState", *inDesiredState);
    AddJsonCauses(json.Key("problems"), verdict.causes, true);
    AddJsonCauses(json.Key("warnings"), verdict.causes, false);
    json.End();
    out.Add(L'\n');
    return true;
}
} // namespace

bool ComposeDscState(const StatusSnapshot& snapshot, const StatusVerdict& verdict, TextBuffer& out)
{
    return Compose(snapshot, verdict, nullptr, out);
}

bool ComposeDscTestState(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                         bool inDesiredState, TextBuffer& out)
{
    return Compose(snapshot, verdict, &inDesiredState, out);
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
