// What tarvelin-cli prints: JSON strings, the status report, and the bounded buffer under it.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "help_text.h"
#include "json_text.h"
#include "show_text.h"
#include "status_report.h"
#include "value_text.h"

namespace
{
std::wstring Json(const std::wstring& text)
{
    wchar_t storage[512];
    TextBuffer out(storage, 512);
    AddJsonString(out, text.c_str());
    EXPECT_TRUE(out.Fits());
    return out.Text();
}

ValueForm Form(std::uint32_t type, const wchar_t* text, std::uint32_t number = 0)
{
    ValueForm value;
    value.present = true;
    value.type = type;
    wcscpy(value.text, text);
    value.number = number;
    value.size = type == kRegDword ? 4 : 0;
    return value;
}

const wchar_t kHigh = static_cast<wchar_t>(0xD83D);
const wchar_t kLow = static_cast<wchar_t>(0xDE00);
} // namespace

TEST(JsonString, Escapes)
{
    const struct
    {
        std::wstring text;
        std::wstring json;
    } cases[] = {
        {L"", L"\"\""},
        {L"CORP\\kiosk", L"\"CORP\\\\kiosk\""},
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"a/b", L"\"a/b\""}, // a slash needs no escape
        {L"\b\f\n\r\t", L"\"\\b\\f\\n\\r\\t\""},
        {std::wstring(L"\x01\x1f", 2), L"\"\\u0001\\u001f\""},
        {L"\x7f", L"\"\x7f\""}, // DEL is no JSON control character
        {L"J\u00fcrgen \u20ac", L"\"J\u00fcrgen \u20ac\""},
        // A whole surrogate pair stays as it is (the output writes it as one UTF-8 character).
        {std::wstring{L'x', kHigh, kLow, L'y'}, std::wstring{L'"', L'x', kHigh, kLow, L'y', L'"'}},
        // A surrogate without its partner cannot become UTF-8: it is written as its escape.
        {std::wstring{kHigh}, L"\"\\ud83d\""},
        {std::wstring{kLow, kHigh}, L"\"\\ude00\\ud83d\""},
        {std::wstring{kHigh, L'a'}, L"\"\\ud83da\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Json(c.text), c.json) << Units(c.text);
}

TEST(TextBuffer, RefusesWhatDoesNotFitWithoutCuttingOrOverrunning)
{
    wchar_t storage[8] = {};
    storage[7] = L'#'; // past what the buffer is told it has
    TextBuffer out(storage, 7);
    out.Add(L"abc").AddNumber(1234567);
    EXPECT_FALSE(out.Fits());
    EXPECT_STREQ(out.Text(), L"abc") << "a number that does not fit is left out whole";
    out.Add(L"d");
    EXPECT_STREQ(out.Text(), L"abc") << "nothing is added once something did not fit";
    EXPECT_EQ(storage[7], L'#');

    TextBuffer numbers(storage, 7);
    numbers.AddNumber(0).Add(L' ').AddNumber(4294967295ull);
    EXPECT_FALSE(numbers.Fits());
    TextBuffer exact(storage, 7);
    exact.AddNumber(0).Add(L' ').AddNumber(4294);
    EXPECT_TRUE(exact.Fits());
    EXPECT_STREQ(exact.Text(), L"0 4294");
}

// The program's texts are UTF-8 and are shown as UTF-16: every length of sequence, a
// character beyond the first plane as its surrogate pair, and all or nothing when full.
TEST(TextBuffer, TextsInUtf8BecomeUtf16)
{
    wchar_t storage[16] = {};
    TextBuffer out(storage, 16);
    out.Add(u8"a\u00e4\u20ac\U0001F600z");
    EXPECT_TRUE(out.Fits());
    EXPECT_EQ(std::wstring(out.Text()), std::wstring(L"a\u00e4\u20ac") + kHigh + kLow + L"z")
        << Units(out.Text());

    TextBuffer small(storage, 5);
    small.Add(L"ab").Add(u8"\u00fc\U0001F600");
    EXPECT_FALSE(small.Fits());
    EXPECT_STREQ(small.Text(), L"ab") << "a text that does not fit is left out whole";
}

TEST(StatusReport, JsonHasEveryKeyInOrder)
{
    StatusSnapshot snapshot;
    snapshot.autoAdminLogon = Form(kRegSz, L"1");
    wcscpy(snapshot.domain, L"PC");
    wcscpy(snapshot.user, L"ki\"osk");
    snapshot.secret = SecretState::Absent;
    snapshot.legalNotice = true;
    snapshot.hasLogonCount = true;
    snapshot.logonCount = 3;
    snapshot.passwordExpires = 1800000000; // 2027-01-15 08:00 UTC: 23:00 the day before in
    snapshot.localOffset = -9L * 3600;     // Alaska, so the local date is the 14th
    wchar_t storage[kStatusReportCapacity];
    TextBuffer out(storage, kStatusReportCapacity);
    ComposeStatusJson(snapshot, JudgeStatus(snapshot), out);
    EXPECT_STREQ(out.Text(),
                 L"{\"enabled\":true,\"autoAdminLogon\":\"1\",\"domain\":\"PC\","
                 L"\"user\":\"ki\\\"osk\",\"secret\":\"absent\","
                 L"\"plainTextPassword\":false,\"logonCount\":3,"
                 L"\"passwordExpires\":\"2027-01-14\",\"accountExpires\":null,\"keep\":null,"
                 L"\"problems\":[\"legal-notice\",\"no-password\"],"
                 L"\"warnings\":[\"logon-count\",\"password-expires\"]}\n");
}

TEST(StatusReport, TextOneFactALine)
{
    StatusSnapshot snapshot;
    snapshot.autoAdminLogon = Form(kRegExpandSz, L"1");
    snapshot.secret = SecretState::Unknown;
    snapshot.plainTextPassword = true;
    snapshot.hasLogonCount = true;
    snapshot.logonCount = 2;
    snapshot.passwordLessSignIn = true;
    snapshot.easPolicies = true;
    wcscpy(snapshot.easValues, L"\"1\", \"7\"");
    snapshot.easValuesLonger = true;
    wchar_t storage[kStatusReportCapacity];
    TextBuffer out(storage, kStatusReportCapacity);
    ComposeStatusText(snapshot, JudgeStatus(snapshot), TextsFor(false), out);
    EXPECT_STREQ(
        out.Text(),
        L"Automatic logon: on\n"
        L"Domain: (none)\n"
        L"User: (none)\n"
        L"Password secret: unknown (reading it needs administrator rights)\n"
        L"Plain-text password in the registry: yes\n"
        L"Logon count: 2\n"
        L"Problem (passwordless-sign-in): this PC requires Windows Hello sign-in, so Windows "
        L"ignores automatic "
        L"logon.\n"
        L"Problem (no-user): no user name is set.\n"
        L"Warning (plain-text-password): the password stands readable in the registry "
        L"(DefaultPassword).\n"
        L"Warning (logon-count): automatic logon ends after 2 more starts (AutoLogonCount).\n"
        L"Warning (secret-unknown): whether a password is stored is unknown: reading it needs "
        L"administrator rights.\n"
        L"Warning (auto-admin-logon-unusual): AutoAdminLogon holds REG_EXPAND_SZ \"1\", not the "
        L"text \"0\" or "
        L"\"1\" as Windows writes it; whether Windows takes that form is not known.\n"
        L"Warning (eas-policies): Exchange ActiveSync policies stand under EAS\\Policies (\"1\", "
        L"\"7\"\u2026); automatic logon does not work while their password restrictions "
        L"are active, and which values make them so is not documented.\n"
        L"Result: automatic logon is on, but the problems above stop it.\n");
}

// A registry value as JSON: plain for the two usual types, with its type for the others.
TEST(StatusReport, ValuesInJson)
{
    const struct
    {
        ValueForm value;
        std::wstring json;
    } cases[] = {
        {ValueForm(), L"null"},
        {Form(kRegSz, L"1 "), L"\"1 \""},
        {Form(kRegDword, L"", 1), L"1"},
        // A number of the wrong size holds none: its form, never 0.
        {[] {
             ValueForm eight = Form(kRegDword, L"", 0);
             eight.size = 8;
             return eight;
         }(),
         L"{\"type\":\"REG_DWORD\",\"bytes\":8}"},
        {Form(kRegExpandSz, L"1"), L"{\"type\":\"REG_EXPAND_SZ\",\"value\":\"1\"}"},
        {Form(3, L""), L"{\"type\":\"REG_BINARY\"}"},
        {Form(99, L""), L"{\"type\":\"type 99\"}"},
    };
    for (const auto& c : cases)
    {
        wchar_t storage[128];
        TextBuffer out(storage, 128);
        AddJsonValue(out, c.value);
        EXPECT_EQ(std::wstring(out.Text()), c.json);
    }
}

// Nothing is judged when a value could not be read: the text names it, JSON says why.
TEST(StatusReport, AValueThatCouldNotBeRead)
{
    StatusSnapshot snapshot;
    snapshot.unreadableKey = L"SOFTWARE\\Winlogon";
    snapshot.unreadableValue = L"AutoAdminLogon";
    snapshot.unreadableError = 234;
    const StatusVerdict verdict = JudgeStatus(snapshot);
    wchar_t storage[kStatusReportCapacity];
    TextBuffer text(storage, kStatusReportCapacity);
    ComposeStatusText(snapshot, verdict, TextsFor(false), text);
    EXPECT_STREQ(
        text.Text(),
        L"tarvelin-cli: SOFTWARE\\Winlogon\\AutoAdminLogon could not be "
        L"read (error 234: text of error 234), so nothing is judged. Error 234 means that it "
        L"kept changing while it was read: try again.\n");
    TextBuffer json(storage, kStatusReportCapacity);
    ComposeStatusJson(snapshot, verdict, json);
    EXPECT_STREQ(json.Text(), L"{\"command\":\"status\",\"error\":\"value-unreadable\","
                              L"\"errorNumber\":234,\"errorText\":\"text of error "
                              L"234.\",\"key\":\"SOFTWARE\\\\Winlogon\","
                              L"\"value\":\"AutoAdminLogon\"}\n");
}

// The longest names and values, every character escaped, with every cause that can stand
// together: both reports still fit their buffer, in both languages.
TEST(StatusReport, WorstCaseFits)
{
    for (const bool on : {true, false})
    {
        StatusSnapshot snapshot;
        // On: the one unusual form that is on. Off: the longest unusual form.
        snapshot.autoAdminLogon = Form(kRegExpandSz, L"1");
        if (!on)
        {
            snapshot.autoAdminLogon.type = kRegMultiSz;
            for (size_t i = 0; i < kFieldLimit; ++i)
                snapshot.autoAdminLogon.text[i] = L'\x01';
            snapshot.autoAdminLogon.longer = true;
        }
        for (size_t i = 0; i < kFieldLimit; ++i)
        {
            snapshot.domain[i] = L'\x01';
            snapshot.user[i] = kHigh;
        }
        snapshot.domainLonger = true;
        snapshot.userLonger = true;
        snapshot.secret = SecretState::Unknown;
        snapshot.plainTextPassword = true;
        snapshot.hasLogonCount = true;
        snapshot.logonCount = 4294967295u;
        snapshot.passwordLessSignIn = true;
        snapshot.legalNotice = true;
        snapshot.easPolicies = true;
        for (size_t i = 0; i < kFieldLimit; ++i)
            snapshot.easValues[i] = kHigh;
        snapshot.easValuesLonger = true;
        const StatusVerdict verdict = JudgeStatus(snapshot);
        wchar_t storage[kStatusReportCapacity];
        TextBuffer json(storage, kStatusReportCapacity);
        ComposeStatusJson(snapshot, verdict, json);
        EXPECT_TRUE(json.Fits()) << json.Length();
        EXPECT_EQ(json.Text()[json.Length() - 1], L'\n');
        for (bool german : {false, true})
        {
            TextBuffer text(storage, kStatusReportCapacity);
            ComposeStatusText(snapshot, verdict, TextsFor(german), text);
            EXPECT_TRUE(text.Fits()) << german;
        }
    }
}

// A cause without its sentence would show nothing, or worse: every row has one, in each
// language, and a "{}" only where a detail is given.
TEST(StatusReport, EveryCauseHasItsSentence)
{
    for (const bool german : {false, true})
    {
        for (unsigned int i = 0; i < kCauseCount; ++i)
        {
            const char* sentence = TextsFor(german).causes[i];
            ASSERT_NE(sentence, nullptr) << kCauses[i].id << (german ? " (German)" : "");
            const bool detail = std::string(sentence).find("{}") != std::string::npos;
            const bool withDetail = static_cast<Cause>(i) == Cause::LogonCount ||
                                    static_cast<Cause>(i) == Cause::AutoAdminLogonUnusual ||
                                    static_cast<Cause>(i) == Cause::EasPolicies;
            EXPECT_EQ(detail, withDetail) << kCauses[i].id;
        }
    }
}

// Every help page, in both languages, fits its buffer and a console's 79 columns, and a
// command's list of options holds exactly the options that command takes.
TEST(Help, EveryPageFitsAndListsOnlyItsOwnOptions)
{
    for (const bool german : {false, true})
    {
        const CliTexts& texts = TextsFor(german);
        for (std::size_t i = 0; i <= kCommandCount; ++i)
        {
            const Command topic = i < kCommandCount ? kCommands[i].command : Command::None;
            wchar_t storage[kHelpCapacity];
            TextBuffer out(storage, kHelpCapacity);
            ComposeHelp(out, texts, topic);
            const std::wstring text = out.Text();
            EXPECT_TRUE(out.Fits()) << i;
            for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1)
            {
                end = text.find(L'\n', start);
                EXPECT_LE(end - start, 79u) << Units(text.substr(start, end - start));
            }
            wchar_t headingStorage[32];
            TextBuffer heading(headingStorage, 32);
            const std::size_t options =
                text.find(L"\n" + std::wstring(heading.Add(texts.headings[1]).Text()) + L"\n");
            const std::wstring list =
                options == std::wstring::npos
                    ? L""
                    : text.substr(options, text.find(L"\n\n", options + 1) - options);
            for (std::size_t row = 0; row < kOptionCount; ++row)
            {
                const std::string name = OptionRow(row).name;
                EXPECT_EQ(list.find(L"\n  " + std::wstring(name.begin(), name.end()) + L" ") !=
                              std::wstring::npos,
                          topic != Command::None && TakesOption(topic, row))
                    << i << " " << name;
            }
        }
    }
}
