// What set and remove of tarvelin-cli say after the change, from the core's result: done, or
// the failed step with its error and the state that leaves the machine in.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "change_json.h"
#include "change_report.h"

namespace
{
ChangeResult Failed(StepFailure registry, StepFailure secret = {})
{
    ChangeResult result;
    result.registry = registry;
    result.secret = secret;
    return result;
}

const StepFailure kSecretRefused = {ChangeStep::StoreSecret, 2, nullptr};

bool SameLetters(const wchar_t* a, const wchar_t* b)
{
    return std::wcscmp(a, b) == 0;
}

// What a set or remove found: on for "old", a plain-text password, a count, a secret.
ChangeState Found(SecretFound secret = SecretFound::Different, const wchar_t* logon = L"1")
{
    ChangeState state;
    state.values[0] = TextForm(logon);
    state.values[1] = TextForm(L"PC");
    state.values[2] = TextForm(L"old");
    state.values[3].present = true; // a plain-text password: only ever "present"
    state.passwordText = true;
    state.values[4] = NumberForm(3);
    state.secret = secret;
    return state;
}

// The words of one run over `state`, with `result` as the core's answer (null: none ran).
std::wstring Words(const ChangeState& state, bool set, const ChangeResult* result,
                   bool check = false, bool german = false, const wchar_t* domain = L"PC",
                   bool* done = nullptr)
{
    const ChangePlan plan =
        set ? PlanSet(state, domain, L"kiosk", 0, SameLetters) : PlanRemove(state);
    ChangeReport report;
    report.set = set;
    report.check = check;
    report.domain = set ? domain : nullptr;
    report.user = set ? L"kiosk" : nullptr;
    report.before = &state;
    report.plan = &plan;
    report.result = result;
    wchar_t storage[kChangeReportCapacity];
    TextBuffer out(storage, kChangeReportCapacity);
    const bool composed = ComposeChangeReport(report, german, out);
    if (done != nullptr)
        *done = composed;
    EXPECT_TRUE(out.Fits());
    return out.Text();
}
} // namespace

TEST(ChangeReport, WhatHappenedAndWhatItLeavesBehind)
{
    ChangeResult notRestored = Failed({}, kSecretRefused);
    notRestored.unrestoredCount = 2;
    notRestored.unrestored[0] = {L"AutoLogonCount", 1018};
    notRestored.unrestored[1] = {L"AutoAdminLogon", 1018};
    const std::wstring setOn =
        L"The password is stored as the LSA secret DefaultPassword, not in the registry.\n";
    const std::wstring setFailed = L"tarvelin-cli: automatic logon could not be switched on: ";
    const std::wstring removeFailed =
        L"tarvelin-cli: automatic logon could not be switched off completely:\n";
    const struct
    {
        bool set;
        SecretFound secret;
        ChangeResult result;
        const wchar_t* domain;
        bool done;
        std::wstring text;
    } cases[] = {
        {true,
         SecretFound::Different,
         {},
         L"PC",
         true,
         L"Automatic logon is on for PC\\kiosk.\n" + setOn},
        {true,
         SecretFound::Different,
         {},
         L"",
         true,
         L"Automatic logon is on for kiosk.\n" + setOn},
        // Remove says what became of the secret by what it held: only a password is "deleted".
        {false,
         SecretFound::Different,
         {},
         L"",
         true,
         L"Automatic logon is off, and the stored password is deleted.\n"},
        {false,
         SecretFound::Blank,
         {},
         L"",
         true,
         L"Automatic logon is off, and the empty password secret is deleted.\n"},
        {false,
         SecretFound::Unreadable,
         {},
         L"",
         true,
         L"Automatic logon is off, and the password secret is deleted.\n"},
        {false,
         SecretFound::NotFound,
         {},
         L"",
         true,
         L"Automatic logon is off, and no password is stored.\n"},
        // Set: before the first write nothing was touched; after it, everything went back.
        {true, SecretFound::Different, Failed({ChangeStep::OpenKey, 5, nullptr}), L"PC", false,
         setFailed + L"the Winlogon key could not be opened (error 5: text of error 5).\nNothing "
                     L"was changed.\n"},
        {true, SecretFound::Different, Failed({ChangeStep::SaveValue, 234, L"DefaultUserName"}),
         L"PC", false,
         setFailed +
             L"the value DefaultUserName could not be read (error 234: text of error 234).\n"
             L"Nothing was changed.\n"},
        {true, SecretFound::Different, Failed({ChangeStep::WriteValue, 5, L"DefaultDomainName"}),
         L"PC", false,
         setFailed +
             L"the value DefaultDomainName could not be written (error 5: text of error 5).\n"
             L"Every value was put back as it was.\n"},
        {true, SecretFound::Different, Failed({}, {ChangeStep::OpenPolicy, 5, nullptr}), L"PC",
         false,
         setFailed +
             L"the Local Security Authority did not open its policy (error 5: text of error 5).\n"
             L"Every value was put back as it was.\n"},
        {true, SecretFound::Different, notRestored, L"PC", false,
         setFailed +
             L"the LSA secret DefaultPassword could not be written (error 2: text of error 2).\n"
             L"These values could not be put back as they were: AutoLogonCount (error "
             L"1018: text of error 1018), AutoAdminLogon (error 1018: text of error 1018). Check "
             L"them with tarvelin-cli status.\n"},
        // Remove: whether automatic logon is off, and whether the secret is gone.
        {false, SecretFound::Different, Failed({}, kSecretRefused), L"", false,
         removeFailed +
             L"  the LSA secret DefaultPassword could not be written (error 2: text of error 2).\n"
             L"Automatic logon is off.\nThe stored password may still be there.\n"},
        {false, SecretFound::Different, Failed({ChangeStep::WriteValue, 5, L"DefaultPassword"}),
         L"", false,
         removeFailed +
             L"  the value DefaultPassword could not be written (error 5: text of error 5).\n"
             L"Automatic logon is off.\nThe password secret is deleted.\n"},
        {false, SecretFound::Different,
         Failed({ChangeStep::WriteValue, 5, L"AutoAdminLogon"}, kSecretRefused), L"", false,
         removeFailed +
             L"  the value AutoAdminLogon could not be written (error 5: text of error 5).\n"
             L"  the LSA secret DefaultPassword could not be written (error 2: text of error 2).\n"
             L"Automatic logon may still be on.\n"
             L"The stored password may still be there.\n"},
        {false, SecretFound::NotFound, Failed({ChangeStep::OpenKey, 2, nullptr}), L"", false,
         removeFailed + L"  the Winlogon key could not be opened (error 2: text of error 2).\n"
                        L"Automatic logon may still be on.\nNo password is stored.\n"},
    };
    for (const auto& c : cases)
    {
        bool done = false;
        EXPECT_EQ(Words(Found(c.secret), c.set, &c.result, false, false, c.domain, &done),
                  c.text); // gtest shows both texts
        EXPECT_EQ(done, c.done) << std::string(c.text.begin(), c.text.end());
    }
}

// A dry run that cannot open what the real run would write fails with the real run's words
// for that step, and says that nothing was changed.
TEST(ChangeReport, ADryRunFailsAtTheRealRunsStep)
{
    const ChangeResult openKey = Failed({ChangeStep::OpenKey, 5, nullptr});
    const ChangeResult both =
        Failed({ChangeStep::OpenKey, 5, nullptr}, {ChangeStep::OpenPolicy, 5});
    bool done = true;
    EXPECT_EQ(Words(Found(), true, &openKey, true, false, L"PC", &done),
              L"tarvelin-cli: automatic logon could not be switched on: the Winlogon key could "
              L"not be opened (error 5: text of error 5).\nNothing was changed.\n");
    EXPECT_FALSE(done);
    EXPECT_EQ(
        Words(Found(), false, &both, true),
        L"tarvelin-cli: automatic logon could not be switched off completely:\n"
        L"  the Winlogon key could not be opened (error 5: text of error 5).\n"
        L"  the Local Security Authority did not open its policy (error 5: text of error 5).\n"
        L"Nothing was changed.\n");
}

TEST(ChangeReport, GermanAndTheLongestReportFits)
{
    ChangeResult worst = Failed({}, kSecretRefused);
    const wchar_t* const names[] = {L"AutoLogonCount", L"DefaultPassword", L"DefaultUserName",
                                    L"DefaultDomainName", L"AutoAdminLogon"};
    for (const wchar_t* name : names)
        worst.unrestored[worst.unrestoredCount++] = {name, 4294967295u};
    EXPECT_EQ(Words(Found(), true, &worst, false, true),
              L"tarvelin-cli: die automatische Anmeldung lie\u00df sich nicht einschalten: das "
              L"LSA-Geheimnis DefaultPassword lie\u00df sich nicht schreiben (Fehler 2: text of "
              L"error 2).\nDiese Werte lie\u00dfen sich nicht wiederherstellen: AutoLogonCount "
              L"(Fehler 4294967295: text of error 4294967295), DefaultPassword (Fehler "
              L"4294967295: text of error 4294967295), DefaultUserName (Fehler 4294967295: text "
              L"of error 4294967295), DefaultDomainName (Fehler 4294967295: text of error "
              L"4294967295), AutoAdminLogon (Fehler 4294967295: text of error 4294967295). "
              L"Pr\u00fcfen Sie sie mit tarvelin-cli status.\n");

    // The longest account name that set accepts.
    const std::wstring domain(kFieldLimit, L'd');
    const ChangeResult done;
    EXPECT_NE(Words(Found(), true, &done, false, true, domain.c_str()), L"");
}

namespace
{
std::wstring Plan(const ChangeState& state, bool set, bool check, bool german = false)
{
    return Words(state, set, nullptr, check, german);
}
} // namespace

// The dry run lists each value that would change and the secret, never a password; with
// nothing to change it says so, in each language.
TEST(ChangeReport, WhatWouldChange)
{
    EXPECT_EQ(Plan(Found(SecretFound::Different, L"0"), true, true),
              L"Would change:\n"
              L"  AutoAdminLogon: 0 -> 1\n"
              L"  DefaultUserName: old -> kiosk\n"
              L"  DefaultPassword: (plain text) -> (none)\n"
              L"  AutoLogonCount: 3 -> (none)\n"
              L"  password secret: would be replaced\n");
    ChangeState unreadable = Found();
    unreadable.unreadable[0] = true;
    EXPECT_EQ(Plan(unreadable, false, true, true),
              L"Folgendes w\u00fcrde sich \u00e4ndern:\n"
              L"  AutoAdminLogon: (nicht lesbar) -> 0\n"
              L"  DefaultPassword: (Klartext) -> (fehlt)\n"
              L"  AutoLogonCount: 3 -> (fehlt)\n"
              L"  gespeichertes Passwort: w\u00fcrde gel\u00f6scht\n");
    // Where a number belongs, only a number reads as one; any other form is shown as such.
    ChangeState counts = Found(SecretFound::Same);
    counts.values[2] = TextForm(L"kiosk");
    counts.values[3] = ValueForm();
    counts.passwordText = false;
    ValueForm eightBytes = NumberForm(0);
    eightBytes.size = 8;
    const struct
    {
        ValueForm count;
        const wchar_t* shown;
    } counted[] = {{eightBytes, L"REG_DWORD (8 bytes)"}, {TextForm(L"3"), L"REG_SZ \"3\""}};
    for (const auto& c : counted)
    {
        counts.values[4] = c.count;
        EXPECT_EQ(Plan(counts, true, true),
                  L"Would change:\n  AutoLogonCount: " + std::wstring(c.shown) + L" -> (none)\n");
    }

    ChangeState done;
    done.values[0] = TextForm(L"1");
    done.values[1] = TextForm(L"PC");
    done.values[2] = TextForm(L"kiosk");
    done.secret = SecretFound::Same;
    EXPECT_EQ(Plan(done, true, false),
              L"Automatic logon is already set up for PC\\kiosk, so nothing changed.\n");
    ChangeState off;
    off.secret = SecretFound::NotFound;
    EXPECT_EQ(Plan(off, false, true), L"Automatic logon is already off, and no password is "
                                      L"stored, so nothing would change.\n");
}

// One line of JSON for every outcome: a dry run, a change, and failures of set and remove.
TEST(ChangeJson, BeforeAfterAndWhatFailed)
{
    const ChangeState before = Found(SecretFound::Different, L"0");
    const ChangePlan set = PlanSet(before, L"PC", L"kiosk", 2, SameLetters);
    const ChangePlan remove = PlanRemove(before);
    const ChangeResult done;
    ChangeResult setFailed = Failed({}, kSecretRefused);
    setFailed.unrestoredCount = 1;
    setFailed.unrestored[0] = {L"AutoAdminLogon", 1018};
    const ChangeResult removeFailed = Failed({}, kSecretRefused);
    const std::wstring head = L"{\"command\":\"set\",\"check\":";
    const std::wstring values =
        L"\"before\":{\"AutoAdminLogon\":\"0\",\"DefaultDomainName\":\"PC\","
        L"\"DefaultUserName\":\"old\",\"plainTextPassword\":true,\"AutoLogonCount\":3,"
        L"\"secret\":\"present\"},";
    const std::wstring after =
        L"\"after\":{\"AutoAdminLogon\":\"1\",\"DefaultDomainName\":\"PC\","
        L"\"DefaultUserName\":\"kiosk\",\"plainTextPassword\":false,\"AutoLogonCount\":2,"
        L"\"secret\":\"replaced\"},";
    const struct
    {
        const char* name;
        ChangeReport report;
        std::wstring json;
    } cases[] = {
        {"dry run",
         {true, true, L"PC", L"kiosk", &before, &set, nullptr},
         head + L"true,\"changed\":false,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":2," +
             values + after + L"\"error\":null}\n"},
        {"done",
         {true, false, L"PC", L"kiosk", &before, &set, &done},
         head + L"false,\"changed\":true,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":2," +
             values + after + L"\"error\":null}\n"},
        {"set failed, one value not put back",
         {true, false, L"PC", L"kiosk", &before, &set, &setFailed},
         head + L"false,\"changed\":true,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":3," +
             values +
             L"\"after\":null,\"error\":\"store-secret\",\"errorNumber\":2,\"errorText\":\"text of "
             L"error 2.\",\"value\":null,"
             L"\"restored\":false,\"unrestored\":[{\"name\":\"AutoAdminLogon\","
             L"\"errorNumber\":1018,\"errorText\":\"text of error 1018.\"}]}\n"},
        {"remove failed at the secret, off all the same",
         {false, false, nullptr, nullptr, &before, &remove, &removeFailed},
         L"{\"command\":\"remove\",\"check\":false,\"changed\":true,\"domain\":null,"
         L"\"user\":null,\"logonCount\":null," +
             values +
             L"\"after\":null,\"error\":\"store-secret\",\"errorNumber\":2,\"errorText\":\"text of "
             L"error 2.\",\"value\":null,"
             L"\"off\":true,\"secretBlanked\":false}\n"},
    };
    for (const auto& c : cases)
    {
        wchar_t storage[kChangeJsonCapacity];
        TextBuffer out(storage, kChangeJsonCapacity);
        ComposeChangeJson(c.report, out);
        EXPECT_EQ(std::wstring(out.Text()), c.json) << c.name;
    }

    wchar_t storage[256];
    TextBuffer error(storage, 256);
    ComposeErrorJson("set", false, "credentials-refused", 1326, "wrong-name-or-password", error);
    EXPECT_STREQ(error.Text(), L"{\"command\":\"set\",\"check\":false,\"changed\":false,"
                               L"\"error\":\"credentials-refused\",\"errorNumber\":1326,"
                               L"\"errorText\":\"text of error 1326.\","
                               L"\"reason\":\"wrong-name-or-password\"}\n");
}

// Every value at its longest, each character escaped, before and after: the line still fits.
TEST(ChangeJson, TheLongestReportFits)
{
    const std::wstring worst(kFieldLimit, L'\x01');
    ChangeState before;
    for (ValueForm& value : before.values)
    {
        value = TextForm(worst.c_str());
        value.type = kRegMultiSz;
        value.longer = true;
    }
    const ChangePlan plan = PlanSet(before, worst.c_str(), worst.c_str(), 999999u, SameLetters);
    ChangeResult failed = Failed({ChangeStep::WriteValue, 4294967295u, L"DefaultDomainName"});
    failed.unrestoredCount = 5;
    for (UnrestoredValue& value : failed.unrestored)
        value = {L"DefaultDomainName", 4294967295u};
    const ChangeResult* const results[] = {nullptr, &failed};
    for (const ChangeResult* result : results)
    {
        wchar_t storage[kChangeJsonCapacity];
        TextBuffer out(storage, kChangeJsonCapacity);
        ComposeChangeJson({true, false, worst.c_str(), worst.c_str(), &before, &plan, result}, out);
        EXPECT_TRUE(out.Fits()) << out.Length();
    }
}
