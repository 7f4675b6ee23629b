#include "status_report.h"

#include "json_text.h"

namespace
{
const wchar_t* const kSecretIds[] = {L"absent", L"present", L"unknown"};

// A name that is longer than any a logon uses is shown up to that length, marked as cut.
const wchar_t kCutMark[] = L"\u2026";

// The registry's names of its value types, by number.
const char* const kTypeNames[] = {
    "REG_NONE",
    "REG_SZ",
    "REG_EXPAND_SZ",
    "REG_BINARY",
    "REG_DWORD",
    "REG_DWORD_BIG_ENDIAN",
    "REG_LINK",
    "REG_MULTI_SZ",
    "REG_RESOURCE_LIST",
    "REG_FULL_RESOURCE_DESCRIPTOR",
    "REG_RESOURCE_REQUIREMENTS_LIST",
    "REG_QWORD",
};

void AddTypeName(TextBuffer& out, std::uint32_t type)
{
    if (type < sizeof kTypeNames / sizeof kTypeNames[0])
        out.Add(kTypeNames[type]);
    else
        out.Add("type ").AddNumber(type);
}

bool IsTextType(std::uint32_t type)
{
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// How a value stands, for people: REG_DWORD 1, REG_SZ "1 ", REG_BINARY.
void AddForm(TextBuffer& out, const ValueForm& value)
{
    AddTypeName(out, value.type);
    if (value.type == kRegDword)
        out.Add(L' ').AddNumber(value.number);
    else if (IsTextType(value.type))
    {
        out.Add(L" \"").Add(value.text);
        if (value.longer)
            out.Add(kCutMark);
        out.Add(L'"');
    }
}

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
    out.Add(sentence, mark).Add(detail.Text()).Add(sentence + mark + 2);
}

// The problems or the warnings among the causes, in their order.
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

void AddJsonName(TextBuffer& out, const wchar_t* key, const wchar_t* name, bool longer)
{
    wchar_t storage[kFieldLimit + 2];
    TextBuffer shown(storage, kFieldLimit + 2);
    shown.Add(name);
    if (longer)
        shown.Add(kCutMark);
    out.Add(key);
    AddJsonString(out, shown.Text());
}

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

void AddJsonValue(TextBuffer& out, const ValueForm& value)
{
    if (!value.present)
    {
        out.Add(L"null");
        return;
    }
    const bool plain = value.type == kRegSz || value.type == kRegDword;
    if (!plain)
    {
        out.Add(L"{\"type\":\"");
        AddTypeName(out, value.type);
        out.Add(L"\"");
        if (!IsTextType(value.type))
        {
            out.Add(L'}');
            return;
        }
        out.Add(L",\"value\":");
    }
    if (value.type == kRegDword)
        out.AddNumber(value.number);
    else
        AddJsonName(out, L"", value.text, value.longer);
    if (!plain)
        out.Add(L'}');
}

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
    if (verdict.exitCode == kStatusUnreadableExitCode)
    {
        out.Add(L"{\"command\":\"status\",\"error\":\"value-unreadable\",\"errorNumber\":");
        out.AddNumber(snapshot.unreadableError);
        out.Add(L",\"key\":");
        AddJsonString(out, snapshot.unreadableKey);
        out.Add(L",\"value\":");
        AddJsonString(out, snapshot.unreadableValue);
        out.Add(L"}\n");
        return;
    }
    out.Add(L"{\"enabled\":").Add(verdict.enabled ? L"true" : L"false");
    out.Add(L",\"autoAdminLogon\":");
    AddJsonValue(out, snapshot.autoAdminLogon);
    AddJsonName(out, L",\"domain\":", snapshot.domain, snapshot.domainLonger);
    AddJsonName(out, L",\"user\":", snapshot.user, snapshot.userLonger);
    out.Add(L",\"secret\":\"").Add(kSecretIds[static_cast<int>(snapshot.secret)]).Add(L'"');
    out.Add(L",\"plainTextPassword\":").Add(snapshot.plainTextPassword ? L"true" : L"false");
    out.Add(L",\"logonCount\":");
    if (snapshot.hasLogonCount)
        out.AddNumber(snapshot.logonCount);
    else
        out.Add(L"null");
    out.Add(L",\"problems\":");
    AddJsonCauses(out, verdict.causes, true);
    out.Add(L",\"warnings\":");
    AddJsonCauses(out, verdict.causes, false);
    out.Add(L"}\n");
}
