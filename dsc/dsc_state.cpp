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
