// What set and remove of tarvelin-cli say after the change, from the core's result: done, or
// the failed step with its error and the state that leaves the machine in.
#include <gtest/gtest.h>

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
} // namespace

TEST(ChangeReport, WhatHappenedAndWhatItLeavesBehind)
{
    ChangeResult notRestored = Failed({}, kSecretRefused);
    notRestored.unrestoredCount = 2;
    notRestored.unrestored[0] = {L"AutoLogonCount", 1018};
    notRestored.unrestored[1] = {L"AutoAdminLogon", 1018};
    const std::wstring setFailed = L"tarvelin-cli: automatic logon could not be switched on: ";
    const std::wstring removeFailed =
        L"tarvelin-cli: automatic logon could not be switched off completely:\n";
    const struct
    {
        ChangeResult result;
        bool set;
        const wchar_t* domain;
        bool done;
        std::wstring text;
    } cases[] = {
        {{},
         true,
         L"PC",
         true,
         L"Automatic logon is on for PC\\kiosk.\n"
         L"The password is stored as the LSA secret DefaultPassword, not in the registry.\n"},
        {{},
         true,
         L"",
         true,
         L"Automatic logon is on for kiosk.\n"
         L"The password is stored as the LSA secret DefaultPassword, not in the registry.\n"},
        {{}, false, L"", true, L"Automatic logon is off, and the stored password is blanked.\n"},
        // Set: before the first write nothing was touched; after it, everything went back.
        {Failed({ChangeStep::OpenKey, 5, nullptr}), true, L"PC", false,
         setFailed + L"the Winlogon key could not be opened (error 5).\nNothing was changed.\n"},
        {Failed({ChangeStep::SaveValue, 234, L"DefaultUserName"}), true, L"PC", false,
         setFailed + L"the value DefaultUserName could not be read (error 234).\n"
                     L"Nothing was changed.\n"},
        {Failed({ChangeStep::WriteValue, 5, L"DefaultDomainName"}), true, L"PC", false,
         setFailed + L"the value DefaultDomainName could not be written (error 5).\n"
                     L"Every value was put back as it was.\n"},
        {Failed({}, {ChangeStep::OpenPolicy, 5, nullptr}), true, L"PC", false,
         setFailed + L"the Local Security Authority did not open its policy (error 5).\n"
                     L"Every value was put back as it was.\n"},
        {notRestored, true, L"PC", false,
         setFailed + L"the LSA secret DefaultPassword could not be written (error 2).\n"
                     L"These values could not be put back as they were: AutoLogonCount (error "
                     L"1018), AutoAdminLogon (error 1018). Check them with tarvelin-cli status.\n"},
        // Remove: whether automatic logon is off, and whether the secret is blanked.
        {Failed({}, kSecretRefused), false, L"", false,
         removeFailed + L"  the LSA secret DefaultPassword could not be written (error 2).\n"
                        L"Automatic logon is off.\nThe stored password may still be there.\n"},
        {Failed({ChangeStep::WriteValue, 5, L"DefaultPassword"}), false, L"", false,
         removeFailed + L"  the value DefaultPassword could not be written (error 5).\n"
                        L"Automatic logon is off.\nThe stored password is blanked.\n"},
        {Failed({ChangeStep::WriteValue, 5, L"AutoAdminLogon"}, kSecretRefused), false, L"", false,
         removeFailed + L"  the value AutoAdminLogon could not be written (error 5).\n"
                        L"  the LSA secret DefaultPassword could not be written (error 2).\n"
                        L"Automatic logon may still be on.\n"
                        L"The stored password may still be there.\n"},
        {Failed({ChangeStep::OpenKey, 2, nullptr}), false, L"", false,
         removeFailed + L"  the Winlogon key could not be opened (error 2).\n"
                        L"Automatic logon may still be on.\nThe stored password is blanked.\n"},
    };
    for (const auto& c : cases)
    {
        wchar_t storage[kChangeReportCapacity];
        TextBuffer out(storage, kChangeReportCapacity);
        EXPECT_EQ(ComposeChangeReport(c.result, c.set, c.domain, L"kiosk", false, out), c.done);
        EXPECT_TRUE(out.Fits());
        EXPECT_EQ(std::wstring(out.Text()), c.text); // gtest shows both texts
    }
}

TEST(ChangeReport, GermanAndTheLongestReportFits)
{
    ChangeResult worst = Failed({}, kSecretRefused);
    const wchar_t* const names[] = {L"AutoLogonCount", L"DefaultPassword", L"DefaultUserName",
                                    L"DefaultDomainName", L"AutoAdminLogon"};
    for (const wchar_t* name : names)
        worst.unrestored[worst.unrestoredCount++] = {name, 4294967295u};
    wchar_t storage[kChangeReportCapacity];
    TextBuffer out(storage, kChangeReportCapacity);
    EXPECT_FALSE(ComposeChangeReport(worst, true, L"PC", L"kiosk", true, out));
    EXPECT_TRUE(out.Fits());
    EXPECT_EQ(std::wstring(out.Text()),
              L"tarvelin-cli: die automatische Anmeldung konnte nicht eingeschaltet werden: das "
              L"LSA-Geheimnis DefaultPassword lie\u00df sich nicht schreiben (Fehler 2).\n"
              L"Diese Werte lie\u00dfen sich nicht wiederherstellen: AutoLogonCount (Fehler "
              L"4294967295), DefaultPassword (Fehler 4294967295), DefaultUserName (Fehler "
              L"4294967295), DefaultDomainName (Fehler 4294967295), AutoAdminLogon (Fehler "
              L"4294967295). Pr\u00fcfen Sie sie mit tarvelin-cli status.\n");

    // The longest account name that set accepts.
    const std::wstring domain(kFieldLimit, L'd');
    const std::wstring user(kFieldLimit, L'u');
    TextBuffer done(storage, kChangeReportCapacity);
    EXPECT_TRUE(ComposeChangeReport({}, true, domain.c_str(), user.c_str(), true, done));
    EXPECT_TRUE(done.Fits());
}

namespace
{
ChangeState Found()
{
    ChangeState state;
    state.values[0] = TextForm(L"0");
    state.values[1] = TextForm(L"PC");
    state.values[2] = TextForm(L"old");
    state.values[3].present = true; // a plain-text password: only ever "present"
    state.values[4] = NumberForm(3);
    state.secret = SecretFound::Different;
    return state;
}

std::wstring Plan(const ChangeState& state, bool set, bool check, bool german = false)
{
    const ChangePlan plan = set ? PlanSet(state, L"PC", L"kiosk", 0) : PlanRemove(state);
    wchar_t storage[kChangeReportCapacity];
    TextBuffer out(storage, kChangeReportCapacity);
    ComposePlanReport(state, plan, set, check, L"PC", L"kiosk", german, out);
    return out.Text();
}
} // namespace

// The dry run lists each value that would change and the secret, never a password; with
// nothing to change it says so, in each language.
TEST(ChangeReport, WhatWouldChange)
{
    EXPECT_EQ(Plan(Found(), true, true), L"Would change:\n"
                                         L"  AutoAdminLogon: 0 -> 1\n"
                                         L"  DefaultUserName: old -> kiosk\n"
                                         L"  DefaultPassword: (plain text) -> (none)\n"
                                         L"  AutoLogonCount: 3 -> (none)\n"
                                         L"  password secret: would be replaced\n");
    ChangeState unreadable = Found();
    unreadable.unreadable[0] = true;
    EXPECT_EQ(Plan(unreadable, false, true, true), L"W\u00fcrde \u00e4ndern:\n"
                                                   L"  AutoAdminLogon: (nicht lesbar) -> 0\n"
                                                   L"  DefaultPassword: (Klartext) -> (keiner)\n"
                                                   L"  Passwort-Geheimnis: w\u00fcrde geleert\n");

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
    const ChangeState before = Found();
    const ChangePlan set = PlanSet(before, L"PC", L"kiosk", 2);
    const ChangePlan remove = PlanRemove(before);
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
         {true, true, L"PC", L"kiosk", 2, &before, &set, nullptr},
         head + L"true,\"changed\":false,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":2," +
             values + after + L"\"error\":null}\n"},
        {"done",
         {true, false, L"PC", L"kiosk", 2, &before, &set, nullptr},
         head + L"false,\"changed\":true,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":2," +
             values + after + L"\"error\":null}\n"},
        {"set failed, one value not put back",
         {true, false, L"PC", L"kiosk", 2, &before, &set, &setFailed},
         head + L"false,\"changed\":true,\"domain\":\"PC\",\"user\":\"kiosk\",\"logonCount\":2," +
             values +
             L"\"after\":null,\"error\":\"store-secret\",\"errorNumber\":2,\"value\":null,"
             L"\"restored\":false,\"unrestored\":[{\"name\":\"AutoAdminLogon\","
             L"\"errorNumber\":1018}]}\n"},
        {"remove failed at the secret, off all the same",
         {false, false, nullptr, nullptr, 0, &before, &remove, &removeFailed},
         L"{\"command\":\"remove\",\"check\":false,\"changed\":true,\"domain\":null,"
         L"\"user\":null,\"logonCount\":null," +
             values +
             L"\"after\":null,\"error\":\"store-secret\",\"errorNumber\":2,\"value\":null,"
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
    const ChangePlan plan = PlanSet(before, worst.c_str(), worst.c_str(), 999999u);
    ChangeResult failed = Failed({ChangeStep::WriteValue, 4294967295u, L"DefaultDomainName"});
    failed.unrestoredCount = 5;
    for (UnrestoredValue& value : failed.unrestored)
        value = {L"DefaultDomainName", 4294967295u};
    const ChangeResult* const results[] = {nullptr, &failed};
    for (const ChangeResult* result : results)
    {
        wchar_t storage[kChangeJsonCapacity];
        TextBuffer out(storage, kChangeJsonCapacity);
        ComposeChangeJson(
            {true, false, worst.c_str(), worst.c_str(), 999999u, &before, &plan, result}, out);
        EXPECT_TRUE(out.Fits()) << out.Length();
    }
}
