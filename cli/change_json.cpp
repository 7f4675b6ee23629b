#include "change_json.h"

#include "bounded_text.h"
#include "error_text.h"
#include "json_text.h"
#include "value_text.h"

namespace
{
// Stable names of the steps, by ChangeStep.
const char* const kStepIds[] = {nullptr,        "input",       "open-key",
                                "save-value",   "write-value", "open-policy",
                                "store-secret", "read-back",   "set-account"};

const char* SecretBefore(SecretFound secret)
{
    switch (secret)
    {
    case SecretFound::NotFound:
        return "absent";
    case SecretFound::Blank:
        return "blank";
    case SecretFound::Same:
    case SecretFound::Different:
        return "present";
    case SecretFound::Unreadable:
        break;
    }
    return "unknown";
}

// The values as they were, or as the plan leaves them.
void AddValues(TextBuffer& out, const ChangeState& state, const ChangePlan* plan)
{
    JsonObject json(out);
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        const bool changes = plan != nullptr && plan->change[i];
        const ValueForm& value = changes ? plan->after[i] : state.values[i];
        if (i == static_cast<unsigned int>(PlanValue::DefaultPassword))
        {
            // Whether it holds text, never what that is.
            json.Bool("plainTextPassword", !changes && state.passwordText);
            continue;
        }
        TextBuffer& member = json.Key(kPlanValueNames[i]);
        if (!changes && state.unreadable[i])
            member.Add(L"{\"unreadable\":true}");
        else
            AddJsonValue(member, value,
                         i == static_cast<unsigned int>(PlanValue::AutoLogonCount) ? kRegDword
                                                                                   : kRegSz);
    }
    const char* secret = SecretBefore(state.secret);
    if (plan != nullptr && plan->secret == SecretAction::Replace)
        secret = "replaced";
    else if (plan != nullptr && plan->secret == SecretAction::Delete)
        secret = "absent";
    json.Id("secret", secret);
    json.End();
}
} // namespace

void ComposeChangeJson(const ChangeReport& report, TextBuffer& out)
{
    const ChangeResult* result = report.result;
    const bool failed = report.Failed();
    const StepFailure& failure = failed && result->registry.step != ChangeStep::None
                                     ? result->registry
                                 : failed ? result->secret
                                          : StepFailure();
    // A failed set puts every value back; a failed remove keeps what it managed to write. A
    // dry run changes nothing, whatever it found.
    bool changed = !report.check && report.plan->Changes() && !failed;
    if (failed && !report.check)
        changed = report.set ? result->unrestoredCount != 0
                             : result->registry.step == ChangeStep::None ||
                                   result->secret.step == ChangeStep::None;

    JsonObject json(out);
    json.Id("command", report.set ? "set" : "remove").Bool("check", report.check);
    json.Bool("changed", changed);
    json.String("domain", report.domain).String("user", report.user);
    // The count that stands afterwards, which may be one that Windows is counting down: a
    // failed set has put back what it found, a remove whose registry step failed wrote none.
    const bool asFound = failed && (report.set || result->registry.step != ChangeStep::None);
    const ValueForm& count =
        asFound ? report.before->values[static_cast<unsigned int>(PlanValue::AutoLogonCount)]
                : ValueAfter(*report.before, *report.plan, PlanValue::AutoLogonCount);
    if (IsNumberValue(count))
        json.Number("logonCount", count.number);
    else
        json.Null("logonCount");
    AddValues(json.Key("before"), *report.before, nullptr);
    if (failed)
        json.Null("after");
    else
        AddValues(json.Key("after"), *report.before, report.plan);
    if (!failed)
    {
        json.Null("error");
        json.End();
        out.Add(L'\n');
        return;
    }
    json.Id("error", kStepIds[static_cast<int>(failure.step)]);
    AddJsonError(json, failure.error);
    json.String("value", failure.value);
    if (report.set)
    {
        AddJsonUnrestored(json, result->unrestored, result->unrestoredCount);
    }
    else
    {
        json.Bool("off", RemoveLeavesOff(report));
        json.Bool("secretBlanked", RemoveLeavesNoSecret(report));
    }
    json.End();
    out.Add(L'\n');
}

const char* StepId(ChangeStep step)
{
    return kStepIds[static_cast<int>(step)];
}

void AddJsonUnrestored(JsonObject& json, const UnrestoredValue* unrestored, std::size_t count)
{
    json.Bool("restored", count == 0);
    TextBuffer& list = json.Key("unrestored").Add(L'[');
    for (std::size_t i = 0; i < count; ++i)
    {
        if (i > 0)
            list.Add(L',');
        JsonObject value(list);
        value.String("name", unrestored[i].name);
        AddJsonError(value, unrestored[i].error);
        value.End();
    }
    list.Add(L']');
}

void AddJsonError(JsonObject& json, std::uint32_t error)
{
    json.Number("errorNumber", error);
    wchar_t text[256];
    const bool known = error != 0 && SystemErrorText(error, text, CountOf(text)) != 0;
    json.String("errorText", known ? text : nullptr);
}

void ComposeErrorJson(const char* command, bool check, const char* error, unsigned long number,
                      const char* reason, TextBuffer& out)
{
    JsonObject json(out);
    json.Id("command", command).Bool("check", check).Bool("changed", false).Id("error", error);
    if (number != 0)
        AddJsonError(json, static_cast<std::uint32_t>(number));
    if (reason != nullptr)
        json.Id("reason", reason);
    json.End();
    out.Add(L'\n');
}
