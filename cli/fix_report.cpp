#include "fix_report.h"

#include "bounded_text.h"
#include "change_json.h"
#include "change_report.h"
#include "help_text.h"
#include "json_text.h"

namespace
{
const char* CauseId(Cause cause)
{
    return kCauses[static_cast<unsigned int>(cause)].id;
}

// Why fix leaves a cause as it is, with its name or where it is set.
void AddWhy(TextBuffer& out, Cause cause, const CliTexts& texts)
{
    const FixKind kind = FixKindOf(cause);
    wchar_t storage[320];
    TextBuffer detail(storage, CountOf(storage));
    if (kind == FixKind::NamedOnly)
        detail.Add(CauseId(cause));
    else if (texts.fixWhere[static_cast<unsigned int>(cause)] != nullptr)
        detail.Add(texts.fixWhere[static_cast<unsigned int>(cause)]);
    AddFilled(out, texts.leftBecause[static_cast<int>(kind) - 1], {FillerOf(detail)});
}

void AddStepLine(TextBuffer& out, const FixStep& step, const FixReport& report,
                 const CliTexts& texts)
{
    out.Add(L"  ").Add(CauseId(step.cause)).Add(L": ");
    switch (step.target)
    {
    case FixTarget::Secret:
        out.Add(texts.secretMoves);
        break;
    case FixTarget::Account: {
        wchar_t storage[kFieldLimit + 1];
        TextBuffer user(storage, CountOf(storage));
        AddFilled(out, texts.accountSteps[step.cause == Cause::AccountLocked ? 1 : 0],
                  {FillerOf(user.Add(report.user))});
        break;
    }
    case FixTarget::Winlogon32:
        out.Add(L"WOW6432Node\\");
        [[fallthrough]];
    case FixTarget::Winlogon:
    case FixTarget::PasswordLess:
        AddValueChange(out, step.value, step.before, false, step.after, texts.german);
        break;
    }
    out.Add(L'\n');
}

void AddCauseList(JsonObject& json, const char* name, unsigned int causes)
{
    TextBuffer& list = json.Key(name).Add(L'[');
    bool first = true;
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((causes & (1u << i)) == 0)
            continue;
        list.Add(first ? L"\"" : L",\"").Add(kCauses[i].id).Add(L'"');
        first = false;
    }
    list.Add(L']');
}
} // namespace

bool ComposeFixText(const FixReport& report, const CliTexts& texts, TextBuffer& out)
{
    const FixPlan& plan = *report.plan;
    if (plan.refused != 0)
    {
        for (unsigned int i = 0; i < kCauseCount; ++i)
        {
            if ((plan.refused & (1u << i)) == 0)
                continue;
            wchar_t storage[400];
            TextBuffer why(storage, CountOf(storage));
            wchar_t nameStorage[32];
            TextBuffer name(nameStorage, CountOf(nameStorage));
            AddWhy(why, static_cast<Cause>(i), texts);
            AddFilled(out.Add(L"tarvelin-cli: "), texts.notRepaired,
                      {FillerOf(name.Add(kCauses[i].id)), FillerOf(why)});
        }
        out.Add(texts.nothingChanged);
        return false;
    }
    if (plan.undecided)
    {
        out.Add(L"tarvelin-cli: ").Add(texts.undecided);
        return false;
    }
    const FixResult* result = report.result;
    if (result != nullptr && !result->Done())
    {
        out.Add(texts.fixFailed).Add(CauseId(plan.steps[result->failedStep].cause)).Add(L": ");
        AddStepWords(result->failure, texts.german, out);
        out.Add(L".\n");
        // A dry run, and a step that failed before anything was changed, changed nothing.
        const bool changed = !report.check && (result->failedStep > 0 ||
                                               result->failure.step == ChangeStep::ReadBack);
        if (changed)
            AddPutBack(result->unrestored, result->unrestoredCount, texts.german, out);
        else
            out.Add(texts.nothingChanged);
        return false;
    }
    if (plan.count == 0)
        out.Add(texts.nothingToFix);
    else
        out.Add(texts.fixHeadings[report.check ? 0 : 1]).Add(L'\n');
    for (std::size_t i = 0; i < plan.count; ++i)
        AddStepLine(out, plan.steps[i], report, texts);
    if (plan.left != 0)
        out.Add(texts.fixHeadings[2]).Add(L'\n');
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((plan.left & (1u << i)) == 0)
            continue;
        out.Add(L"  ").Add(kCauses[i].id).Add(L": ");
        AddWhy(out, static_cast<Cause>(i), texts);
        out.Add(L'\n');
    }
    return true;
}

void ComposeFixJson(const FixReport& report, TextBuffer& out)
{
    const FixPlan& plan = *report.plan;
    const FixResult* result = report.result;
    const bool failed = result != nullptr && !result->Done();
    JsonObject json(out);
    json.Id("command", "fix").Bool("check", report.check);
    const bool changed =
        !report.check && plan.count > 0 && (!failed || result->unrestoredCount > 0);
    json.Bool("changed", changed);
    if (plan.refused != 0 || plan.undecided)
    {
        json.Id("error", plan.refused != 0 ? "usage" : "secret-unreadable");
        if (plan.refused != 0)
        {
            json.Id("reason", "not-repaired");
            AddCauseList(json, "causes", plan.refused);
        }
        json.End();
        out.Add(L'\n');
        return;
    }
    AddCauseList(json, "fixed", failed ? 0 : plan.repaired);
    TextBuffer& left = json.Key("left").Add(L'[');
    const char* const why[] = {"named-only", "policy", "account", "set"};
    for (unsigned int i = 0, n = 0; i < kCauseCount; ++i)
    {
        if ((plan.left & (1u << i)) == 0)
            continue;
        if (n++ > 0)
            left.Add(L',');
        JsonObject cause(left);
        cause.Id("cause", kCauses[i].id);
        cause.Id("why", why[static_cast<int>(FixKindOf(static_cast<Cause>(i))) - 1]);
        cause.End();
    }
    left.Add(L']');
    if (!failed)
    {
        json.Null("error");
        json.End();
        out.Add(L'\n');
        return;
    }
    json.Id("error", StepId(result->failure.step));
    json.Id("cause", CauseId(plan.steps[result->failedStep].cause));
    AddJsonError(json, result->failure.error);
    json.String("value", result->failure.value);
    AddJsonUnrestored(json, result->unrestored, result->unrestoredCount);
    json.End();
    out.Add(L'\n');
}
