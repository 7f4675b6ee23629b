#include "status_report.h"

#include "bounded_text.h"
#include "change_json.h"
#include "error_text.h"
#include "help_text.h"
#include "json_text.h"
#include "keep_texts.h"
#include "value_text.h"

namespace
{
const char* const kSecretIds[] = {"absent", "present", "unknown"};

void AddName(TextBuffer& out, const char* label, const wchar_t* name, bool longer,
             const CliTexts& texts)
{
    out.Add(label);
    if (name[0] == L'\0')
        out.Add(texts.none);
    else
        out.Add(name);
    if (longer)
        out.Add(kCutMark);
    out.Add(L'\n');
}

// The date of a moment as the user's local calendar has it, and the whole days until it.
TextBuffer& AddDate(TextBuffer& out, Moment moment, const StatusSnapshot& snapshot)
{
    wchar_t date[11];
    FormatIsoDate(moment, snapshot.localOffset, date);
    return out.Add(date);
}

// The cause's sentence with its details where the sentence has "{}", "{0}", "{1}".
void AddCause(TextBuffer& out, Cause cause, const StatusSnapshot& snapshot, const CliTexts& texts)
{
    wchar_t storage[kFieldLimit + 64];
    TextBuffer detail(storage, CountOf(storage));
    wchar_t daysStorage[128];
    TextBuffer days(daysStorage, CountOf(daysStorage));
    switch (cause)
    {
    case Cause::LogonCount:
        detail.AddNumber(snapshot.logonCount);
        break;
    case Cause::AutoAdminLogonUnusual:
        AddForm(detail, snapshot.autoAdminLogon);
        break;
    case Cause::EasPolicies:
        detail.Add(snapshot.easValues).Add(snapshot.easValuesLonger ? kCutMark : L"");
        break;
    case Cause::PasswordExpires:
    case Cause::AccountExpires:
    case Cause::AccountExpired: {
        const Moment moment =
            cause == Cause::PasswordExpires ? snapshot.passwordExpires : snapshot.accountExpires;
        AddDate(detail, moment, snapshot);
        days.AddNumber(static_cast<unsigned long long>(
            DaysUntil(moment, snapshot.now) > 0 ? DaysUntil(moment, snapshot.now) : 0));
        break;
    }
    case Cause::LogonHours:
        // The days in the week's order from Monday, as a calendar shows them.
        for (unsigned day = 1; day <= 7; ++day)
        {
            if ((snapshot.shutOutDays & (1u << (day % 7))) != 0)
                detail.Add(detail.Length() == 0 ? L"" : L", ").Add(texts.weekdays[day % 7]);
        }
        break;
    default:
        break;
    }
    AddFilled(out, texts.causes[static_cast<unsigned int>(cause)],
              {FillerOf(detail), FillerOf(days)});
}

} // namespace

void AddJsonCauses(TextBuffer& out, unsigned int causes, bool problems)
{
    out.Add(L"[");
    bool first = true;
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((causes & (1u << i)) == 0 || kCauses[i].problem != problems)
            continue;
        if (!first)
            out.Add(L',');
        first = false;
        out.Add(L'"').Add(kCauses[i].id).Add(L'"');
    }
    out.Add(L']');
}

namespace
{
int ResultIndex(const StatusVerdict& verdict)
{
    if (!verdict.enabled)
        return 1;
    return verdict.exitCode == kStatusOnExitCode ? 0 : 2;
}

void AddUnreadableName(TextBuffer& out, const StatusSnapshot& snapshot)
{
    out.Add(snapshot.unreadableKey);
    if (snapshot.unreadableValue[0] != L'\0')
        out.Add(L'\\').Add(snapshot.unreadableValue);
}
} // namespace

void ComposeStatusText(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       const CliTexts& texts, TextBuffer& out)
{
    if (verdict.exitCode == kStatusUnreadableExitCode)
    {
        wchar_t nameStorage[kFieldLimit * 2];
        TextBuffer name(nameStorage, CountOf(nameStorage));
        AddUnreadableName(name, snapshot);
        wchar_t errorStorage[300];
        TextBuffer error(errorStorage, CountOf(errorStorage));
        AddErrorNumber(error, snapshot.unreadableError);
        AddFilled(out.Add(L"tarvelin-cli: "), texts.unreadable, {FillerOf(name), FillerOf(error)});
        return;
    }
    out.Add(texts.autoLogon).Add(verdict.enabled ? texts.on : texts.off).Add(L'\n');
    AddName(out, texts.domain, snapshot.domain, snapshot.domainLonger, texts);
    AddName(out, texts.user, snapshot.user, snapshot.userLonger, texts);
    out.Add(texts.secret).Add(texts.secretStates[static_cast<int>(snapshot.secret)]).Add(L'\n');
    out.Add(texts.plainText).Add(snapshot.plainTextPassword ? texts.yes : texts.no).Add(L'\n');
    out.Add(texts.logonCount);
    if (snapshot.hasLogonCount)
        out.AddNumber(snapshot.logonCount);
    else
        out.Add(texts.notSet);
    out.Add(L'\n');

    if (snapshot.kept)
    {
        const KeepTexts& keep = KeepTextsFor(texts.german);
        out.Add(keep.label);
        if (snapshot.keptDomain[0] != L'\0')
            out.Add(snapshot.keptDomain).Add(L'\\');
        out.Add(snapshot.keptUser)
            .Add(L" (")
            .Add(keep.taskStates[static_cast<int>(snapshot.keepTask)]);
        if (snapshot.keepRan)
        {
            wchar_t storage[16];
            TextBuffer number(storage, CountOf(storage));
            AddFilled(out.Add(L", "), keep.lastResult,
                      {FillerOf(number.AddNumber(snapshot.keepLastResult))});
        }
        out.Add(L")\n");
    }

    // Problems first, then warnings: the causes stand in that order.
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((verdict.causes & (1u << i)) == 0)
            continue;
        // Named as JSON and help name it, so that a script or a search finds it.
        out.Add(kCauses[i].problem ? texts.problem : texts.warning).Add(L" (");
        out.Add(kCauses[i].id).Add(L"): ");
        AddCause(out, static_cast<Cause>(i), snapshot, texts);
        out.Add(L'\n');
    }
    out.Add(texts.results[ResultIndex(verdict)]);
}

void ComposeStatusJson(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       TextBuffer& out)
{
    JsonObject json(out);
    if (verdict.exitCode == kStatusUnreadableExitCode)
    {
        json.Id("command", "status").Id("error", "value-unreadable");
        AddJsonError(json, snapshot.unreadableError);
        json.String("key", snapshot.unreadableKey).String("value", snapshot.unreadableValue);
        json.End();
        out.Add(L'\n');
        return;
    }
    json.Bool("enabled", verdict.enabled);
    AddJsonValue(json.Key("autoAdminLogon"), snapshot.autoAdminLogon);
    AddJsonName(json.Key("domain"), snapshot.domain, snapshot.domainLonger);
    AddJsonName(json.Key("user"), snapshot.user, snapshot.userLonger);
    json.Id("secret", kSecretIds[static_cast<int>(snapshot.secret)]);
    json.Bool("plainTextPassword", snapshot.plainTextPassword);
    if (snapshot.hasLogonCount)
        json.Number("logonCount", snapshot.logonCount);
    else
        json.Null("logonCount");
    // The days ahead on which the account's password and the account itself expire.
    const struct
    {
        const char* name;
        Moment moment;
    } dates[] = {{"passwordExpires", snapshot.passwordExpires},
                 {"accountExpires", snapshot.accountExpires}};
    for (const auto& date : dates)
    {
        wchar_t storage[16];
        TextBuffer text(storage, CountOf(storage));
        json.String(date.name,
                    date.moment == kNever ? nullptr : AddDate(text, date.moment, snapshot).Text());
    }
    if (snapshot.kept)
    {
        static const char* const kTaskIds[] = {"missing",  "other", "unknown",
                                               "disabled", "ready", "running"};
        JsonObject keep(json.Key("keep"));
        keep.String("user", snapshot.keptUser).String("domain", snapshot.keptDomain);
        keep.Id("task", kTaskIds[static_cast<int>(snapshot.keepTask)]);
        if (snapshot.keepRan)
            keep.Number("lastResult", snapshot.keepLastResult);
        else
            keep.Null("lastResult");
        keep.End();
    }
    else
        json.Null("keep");
    AddJsonCauses(json.Key("problems"), verdict.causes, true);
    AddJsonCauses(json.Key("warnings"), verdict.causes, false);
    json.End();
    out.Add(L'\n');
}
