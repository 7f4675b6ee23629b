#include "status_report.h"

#include "json_text.h"
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

// The cause's sentence with its detail where the sentence has "{}".
void AddCause(TextBuffer& out, Cause cause, const StatusSnapshot& snapshot, const CliTexts& texts)
{
    const char* sentence = texts.causes[static_cast<unsigned int>(cause)];
    std::size_t mark = 0;
    while (sentence[mark] != '\0' && !(sentence[mark] == '{' && sentence[mark + 1] == '}'))
        ++mark;
    if (sentence[mark] == '\0')
    {
        out.Add(sentence);
        return;
    }
    wchar_t storage[kFieldLimit + 64];
    TextBuffer detail(storage, sizeof storage / sizeof storage[0]);
    if (cause == Cause::LogonCount)
        detail.AddNumber(snapshot.logonCount);
    else if (cause == Cause::AutoAdminLogonUnusual)
        AddForm(detail, snapshot.autoAdminLogon);
    else if (cause == Cause::EasPolicies)
        detail.Add(snapshot.easValues).Add(snapshot.easValuesLonger ? kCutMark : L"");
    out.Add(sentence, mark).Add(detail.Text()).Add(sentence + mark + 2);
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
        out.Add(L"tarvelin-cli: ");
        AddUnreadableName(out, snapshot);
        out.Add(texts.unreadable[0]).AddNumber(snapshot.unreadableError);
        out.Add(texts.unreadable[1]);
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

    // Problems first, then warnings: the causes stand in that order.
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((verdict.causes & (1u << i)) == 0)
            continue;
        out.Add(kCauses[i].problem ? texts.problem : texts.warning);
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
        json.Number("errorNumber", snapshot.unreadableError);
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
    AddJsonCauses(json.Key("problems"), verdict.causes, true);
    AddJsonCauses(json.Key("warnings"), verdict.causes, false);
    json.End();
    out.Add(L'\n');
}
