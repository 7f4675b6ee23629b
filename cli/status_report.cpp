#include "status_report.h"

#include "json_text.h"

namespace
{
// The identifiers scripts match on, in the order of the bits.
const wchar_t* const kProblemIds[kProblemKinds] = {L"passwordless-sign-in", L"legal-notice",
                                                   L"no-password", L"no-user"};
const wchar_t* const kWarningIds[kWarningKinds] = {L"plain-text-password", L"logon-count",
                                                   L"secret-unknown"};
const wchar_t* const kSecretIds[] = {L"absent", L"present", L"unknown"};

// A name that is longer than any a logon uses is shown up to that length, marked as cut.
const wchar_t kCutMark[] = L"\u2026";

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

void AddJsonList(TextBuffer& out, unsigned int bits, const wchar_t* const* ids, unsigned int kinds)
{
    out.Add(L'[');
    bool first = true;
    for (unsigned int i = 0; i < kinds; ++i)
    {
        if ((bits & (1u << i)) == 0)
            continue;
        if (!first)
            out.Add(L',');
        first = false;
        AddJsonString(out, ids[i]);
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
    return verdict.problems == 0 ? 0 : 2;
}
} // namespace

void ComposeStatusText(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       const CliTexts& texts, TextBuffer& out)
{
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

    for (unsigned int i = 0; i < kProblemKinds; ++i)
    {
        if ((verdict.problems & (1u << i)) != 0)
            out.Add(texts.problem).Add(texts.problems[i]).Add(L'\n');
    }
    for (unsigned int i = 0; i < kWarningKinds; ++i)
    {
        if ((verdict.warnings & (1u << i)) == 0)
            continue;
        out.Add(texts.warning).Add(texts.warnings[i]);
        if ((1u << i) == kWarningLogonCount)
            out.AddNumber(snapshot.logonCount).Add(texts.logonCountEnd);
        out.Add(L'\n');
    }
    out.Add(texts.results[ResultIndex(verdict)]);
}

void ComposeStatusJson(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                       TextBuffer& out)
{
    out.Add(L"{\"enabled\":").Add(verdict.enabled ? L"true" : L"false");
    AddJsonName(out, L",\"domain\":", snapshot.domain, snapshot.domainLonger);
    AddJsonName(out, L",\"user\":", snapshot.user, snapshot.userLonger);
    out.Add(L",\"secret\":");
    AddJsonString(out, kSecretIds[static_cast<int>(snapshot.secret)]);
    out.Add(L",\"plainTextPassword\":").Add(snapshot.plainTextPassword ? L"true" : L"false");
    out.Add(L",\"logonCount\":");
    if (snapshot.hasLogonCount)
        out.AddNumber(snapshot.logonCount);
    else
        out.Add(L"null");
    out.Add(L",\"problems\":");
    AddJsonList(out, verdict.problems, kProblemIds, kProblemKinds);
    out.Add(L",\"warnings\":");
    AddJsonList(out, verdict.warnings, kWarningIds, kWarningKinds);
    out.Add(L"}\n");
}
