// What set and remove of tarvelin-cli say after the change, from the core's result: done, or
// the failed step with its error and the state that leaves the machine in.
#include <gtest/gtest.h>

#include <string>

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
