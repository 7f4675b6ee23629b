// Set and Remove through the real dialog, with the real registry (a scratch key standing in
// for HKEY_LOCAL_MACHINE) and the secret store's stand-in from secret_test.cpp.
#include <gtest/gtest.h>

#include "real_input.h"
#include "test_dialog.h"
#include "token_util.h"
#include "writer.h"
#include "writer_fixture.h"

namespace
{
const wchar_t kSetDoneEnglish[] =
    L"Autologin configured successfully.\n\nThe autologin password is encrypted";
const wchar_t kSetDoneGerman[] =
    L"Autologin erfolgreich konfiguriert.\n\nDas Autologin-Passwort ist verschl\u00fcsselt";
const wchar_t kFailedEnglish[] = L"Autologin cannot be configured!";
const wchar_t kFailedGerman[] = L"Autologin kann nicht konfiguriert Werden!";
const wchar_t kNotRestoredEnglish[] =
    L"Autologin cannot be configured, and the previous settings could not all be restored!";
const wchar_t kNotRestoredGerman[] =
    L"Autologin kann nicht konfiguriert werden, und die vorherigen Einstellungen konnten nicht "
    L"alle wiederhergestellt werden!";
const wchar_t kMissingEnglish[] =
    L"The Autologin cannot be configured without Password and / or Username!";
const wchar_t kMissingGerman[] =
    L"Das Autologin kann nicht ohne Passwort und / oder Benutzername konfiguriert werden!";

const wchar_t* Caption(int englishFlag)
{
    return englishFlag ? L"Automatic Login" : L"Automatische Anmeldung";
}

struct Outcome
{
    INT_PTR result = -1;
    std::vector<SeenBox> boxes;
    long long quitCode = -1;
};

// Presses a button through the dialog procedure; the boxes it shows are read and closed.
Outcome Press(const TestDialog& dialog, int id)
{
    BoxWatcher watcher(dialog.hwnd());
    Outcome outcome;
    outcome.result = dialog.Command(id);
    outcome.boxes = watcher.Stop();
    outcome.quitCode = TakeQuitCode();
    return outcome;
}

void Fill(const TestDialog& dialog, const std::wstring& domain, const std::wstring& user,
          const std::wstring& password)
{
    SetWindowTextW(dialog.item(IDC_DOMAIN), domain.c_str());
    SetWindowTextW(dialog.item(IDC_USER), user.c_str());
    SetWindowTextW(dialog.item(IDC_PASSWORD), password.c_str());
}

// The one box of an outcome: its text, the writer's caption, owned by the dialog.
void ExpectOneBox(const Outcome& outcome, const TestDialog& dialog, const std::wstring& text,
                  int englishFlag, bool icon)
{
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text, text);
    EXPECT_EQ(outcome.boxes[0].caption, Caption(englishFlag));
    EXPECT_EQ(outcome.boxes[0].owner, dialog.hwnd());
    EXPECT_EQ(outcome.boxes[0].icon, icon) << "error icon for failures, none for success";
}

// A Winlogon key as another tool may have left it: a plain-text password, a logon count of
// 0, other values that the writer has no business with.
RegValues Leftovers()
{
    return {{L"Shell", TextValue(L"explorer.exe")},
            {L"AutoAdminLogon", TextValue(L"0")},
            {L"DefaultDomainName", TextValue(L"OLDPC")},
            {L"DefaultPassword", TextValue(L"stale")},
            {L"AutoLogonCount", NumberValue(0)}};
}

} // namespace

TEST(WriterSet, WritesTheValuesDropsLeftoversStoresThePasswordAndEnds)
{
    for (int englishFlag : {1, 0})
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        WriteValues(machine.winlogon(), Leftovers());
        ResetLsaDouble();
        TestDialog dialog(englishFlag);
        Fill(dialog, L"", L"anna", L"p@ss w0rd");

        const Outcome outcome = Press(dialog, IDC_SET);

        EXPECT_EQ(outcome.result, TRUE);
        ExpectOneBox(outcome, dialog, englishFlag ? kSetDoneEnglish : kSetDoneGerman, englishFlag,
                     false);
        EXPECT_EQ(outcome.quitCode, kWriterQuitCode);
        const RegValues expected = {{L"Shell", TextValue(L"explorer.exe")},
                                    {L"AutoAdminLogon", TextValue(L"1")},
                                    {L"DefaultDomainName", TextValue(L"")},
                                    {L"DefaultUserName", TextValue(L"anna")}};
        const RegValues actual = ReadValues(machine.winlogon());
        EXPECT_EQ(actual, expected) << Describe(actual);
        // Byte counts: an empty domain is the terminator alone; four characters are 10.
        EXPECT_EQ(actual.at(L"DefaultDomainName").data.size(), 2u);
        EXPECT_EQ(actual.at(L"DefaultUserName").data.size(), 10u);
        ASSERT_EQ(Lsa().stores.size(), 1u) << "Set stores once";
        EXPECT_EQ(Lsa().stores[0].bytes, Utf16Bytes(L"p@ss w0rd"));
        EXPECT_EQ(Lsa().stores[0].length, 18);
        EXPECT_EQ(Lsa().stores[0].maximumLength, 20);
    }
}

TEST(WriterSet, KeepsALogonCountOtherThanZeroAndAcceptsASpacesOnlyPassword)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), {{L"AutoLogonCount", NumberValue(3)}});
    ResetLsaDouble();
    TestDialog dialog;
    Fill(dialog, L"PC", L"anna", L"   ");

    const Outcome outcome = Press(dialog, IDC_SET);

    ExpectOneBox(outcome, dialog, kSetDoneEnglish, 1, false);
    EXPECT_EQ(outcome.quitCode, kWriterQuitCode);
    const RegValues actual = ReadValues(machine.winlogon());
    EXPECT_EQ(actual.count(L"AutoLogonCount"), 1u) << Describe(actual);
    ASSERT_EQ(Lsa().stores.size(), 1u);
    EXPECT_EQ(Lsa().stores[0].bytes, Utf16Bytes(L"   ")) << "stored as typed, not trimmed";
}

TEST(WriterSet, MissingPasswordOrUserChangesNothing)
{
    const struct
    {
        const wchar_t* user;
        const wchar_t* password;
        int englishFlag;
    } cases[] = {
        {L"anna", L"", 1}, {L"", L"pw", 1}, {L"", L"", 1}, {L"anna", L"", 0}, {L"", L"pw", 0},
    };
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), Leftovers());
    // One dialog for every case: a refused Set leaves it open for the next try.
    TestDialog dialog;
    for (const auto& c : cases)
    {
        g_englishFlag = c.englishFlag;
        ResetLsaDouble();
        Fill(dialog, L"PC", c.user, c.password);

        const Outcome outcome = Press(dialog, IDC_SET);

        EXPECT_EQ(outcome.result, TRUE);
        ExpectOneBox(outcome, dialog, c.englishFlag ? kMissingEnglish : kMissingGerman,
                     c.englishFlag, true);
        EXPECT_EQ(outcome.quitCode, -1);
        EXPECT_EQ(ReadValues(machine.winlogon()), Leftovers());
        EXPECT_EQ(Lsa().opens, 0) << "the secret must not be touched";
        EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
        EXPECT_EQ(WindowText(dialog.item(IDC_PASSWORD)), c.password) << "fields stay as typed";
    }
}

TEST(WriterSet, FieldsHoldAtMost256CharactersWhenTypedOrPasted)
{
    TestDialog dialog;
    const std::wstring pasted(300, L'x');
    for (int id : {IDC_DOMAIN, IDC_USER, IDC_PASSWORD})
    {
        EXPECT_EQ(SendMessageW(dialog.item(id), EM_GETLIMITTEXT, 0, 0), 256) << id;
        SetWindowTextW(dialog.item(id), L"");
        SendMessageW(dialog.item(id), EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(pasted.c_str()));
        EXPECT_EQ(GetWindowTextLengthW(dialog.item(id)), 256) << id;
    }
}

TEST(WriterSet, TakesFieldsOf256CharactersWhole)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    ResetLsaDouble();
    TestDialog dialog;
    const std::wstring domain(256, L'd');
    const std::wstring user(256, L'u');
    std::wstring password(255, L'p');
    password += L'!';
    Fill(dialog, domain, user, password);

    const Outcome outcome = Press(dialog, IDC_SET);

    ExpectOneBox(outcome, dialog, kSetDoneEnglish, 1, false);
    const RegValues actual = ReadValues(machine.winlogon());
    EXPECT_EQ(actual.at(L"DefaultDomainName"), TextValue(domain));
    EXPECT_EQ(actual.at(L"DefaultUserName"), TextValue(user));
    ASSERT_EQ(Lsa().stores.size(), 1u);
    EXPECT_EQ(Lsa().stores[0].length, 512);
    EXPECT_EQ(Lsa().stores[0].maximumLength, 514);
    EXPECT_EQ(Lsa().stores[0].bytes, Utf16Bytes(password));
}

// Another program can put more into a field than typing allows: refused, never cut.
TEST(WriterSet, AFieldOverTheLimitIsRefusedAndChangesNothing)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), Leftovers());
    TestDialog dialog;
    for (int id : {IDC_DOMAIN, IDC_USER, IDC_PASSWORD})
    {
        ResetLsaDouble();
        Fill(dialog, L"PC", L"anna", L"pw");
        const std::wstring tooLong(257, L'z');
        SetWindowTextW(dialog.item(id), tooLong.c_str());
        ASSERT_EQ(GetWindowTextLengthW(dialog.item(id)), 257) << "WM_SETTEXT passes the limit";

        const Outcome outcome = Press(dialog, IDC_SET);

        ExpectOneBox(outcome, dialog, kFailedEnglish, 1, true);
        EXPECT_EQ(outcome.quitCode, -1);
        EXPECT_EQ(ReadValues(machine.winlogon()), Leftovers()) << id;
        EXPECT_EQ(Lsa().opens, 0) << id;
    }
}

TEST(WriterSet, AFailedSecretPutsEveryValueBack)
{
    for (int englishFlag : {1, 0})
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        // DefaultUserName absent: it must be absent again afterwards.
        WriteValues(machine.winlogon(), Leftovers());
        ResetLsaDouble().storeStatuses = {kStatusAccessDenied};
        StdoutCapture output;
        TestDialog dialog(englishFlag);
        Fill(dialog, L"NEWPC", L"anna", L"secret");

        const Outcome outcome = Press(dialog, IDC_SET);

        ExpectOneBox(outcome, dialog, englishFlag ? kFailedEnglish : kFailedGerman, englishFlag,
                     true);
        EXPECT_EQ(outcome.quitCode, -1);
        EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
        const RegValues actual = ReadValues(machine.winlogon());
        EXPECT_EQ(actual, Leftovers()) << Describe(actual);
        EXPECT_EQ(Lsa().stores.size(), 1u);
        EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 5\n");
    }
}

TEST(WriterSet, RefusedPolicyShowsItsBoxThenTheFailureAndPutsEveryValueBack)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), Leftovers());
    ResetLsaDouble().openStatus = kStatusAccessDenied;
    StdoutCapture output;
    TestDialog dialog(0);
    Fill(dialog, L"NEWPC", L"anna", L"secret");

    const Outcome outcome = Press(dialog, IDC_SET);

    ASSERT_EQ(outcome.boxes.size(), 2u);
    EXPECT_EQ(outcome.boxes[0].text, L"Failed call to LsaOpenPolicy") << "English in any case";
    EXPECT_EQ(outcome.boxes[0].caption, L"Error");
    EXPECT_EQ(outcome.boxes[0].owner, nullptr);
    EXPECT_EQ(outcome.boxes[1].text, kFailedGerman);
    EXPECT_EQ(outcome.boxes[1].owner, dialog.hwnd());
    EXPECT_EQ(outcome.quitCode, -1);
    EXPECT_EQ(ReadValues(machine.winlogon()), Leftovers());
    EXPECT_TRUE(Lsa().stores.empty());
    EXPECT_EQ(output.Text(), "Failed call to LsaOpenPolicy 5\n");
}

// The Winlogon key goes while Set waits on the secret store, so that no value can be put
// back: the user must not be told that nothing changed.
TEST(WriterSet, ValuesThatCannotBePutBackAreNamedAndTheBoxSaysSo)
{
    for (int englishFlag : {1, 0})
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        WriteValues(machine.winlogon(), Leftovers());
        LsaDouble& lsa = ResetLsaDouble();
        lsa.storeStatuses = {kStatusAccessDenied};
        LONG deleted = -1;
        lsa.duringStore = [&] { deleted = machine.DeleteWinlogon(); };
        StdoutCapture output;
        TestDialog dialog(englishFlag);
        Fill(dialog, L"NEWPC", L"anna", L"secret");

        const Outcome outcome = Press(dialog, IDC_SET);

        ASSERT_EQ(deleted, ERROR_SUCCESS);
        ExpectOneBox(outcome, dialog, englishFlag ? kNotRestoredEnglish : kNotRestoredGerman,
                     englishFlag, true);
        EXPECT_EQ(outcome.quitCode, -1);
        EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
        // In the order they were tried, each with the registry's own error.
        EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 5\n"
                                 "Failed to restore AutoLogonCount 1018\n"
                                 "Failed to restore DefaultPassword 1018\n"
                                 "Failed to restore DefaultUserName 1018\n"
                                 "Failed to restore DefaultDomainName 1018\n"
                                 "Failed to restore AutoAdminLogon 1018\n");
    }
}

TEST(WriterSet, WithoutAWinlogonKeyFailsAndCreatesNothing)
{
    ScratchMachine machine(false);
    ASSERT_TRUE(machine.ready());
    ResetLsaDouble();
    TestDialog dialog;
    Fill(dialog, L"PC", L"anna", L"secret");

    const Outcome outcome = Press(dialog, IDC_SET);

    ExpectOneBox(outcome, dialog, kFailedEnglish, 1, true);
    EXPECT_EQ(outcome.quitCode, -1);
    EXPECT_FALSE(machine.WinlogonExists());
    EXPECT_EQ(Lsa().opens, 0) << "Set stores no secret when the registry failed";
}

TEST(WriterRemove, SwitchesOffDropsThePlainPasswordAndBlanksBothSecretValues)
{
    for (int englishFlag : {1, 0})
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        RegValues before = Leftovers();
        before[L"AutoAdminLogon"] = TextValue(L"1");
        before[L"DefaultUserName"] = TextValue(L"anna");
        WriteValues(machine.winlogon(), before);
        ResetLsaDouble();
        TestDialog dialog(englishFlag);
        Fill(dialog, L"PC", L"bob", L"typed but not used");

        const Outcome outcome = Press(dialog, IDC_REMOVE);

        EXPECT_EQ(outcome.result, TRUE);
        ExpectOneBox(outcome, dialog,
                     englishFlag ? L"Autologin was deactivated successfully!"
                                 : L"Autologin wurde erfolgreich deaktiviert!",
                     englishFlag, false);
        EXPECT_EQ(outcome.quitCode, kWriterQuitCode);
        RegValues expected = before;
        expected[L"AutoAdminLogon"] = TextValue(L"0");
        expected.erase(L"DefaultPassword");
        const RegValues actual = ReadValues(machine.winlogon());
        EXPECT_EQ(actual, expected) << Describe(actual);
        EXPECT_EQ(Lsa().opens, 1);
        ASSERT_EQ(Lsa().stores.size(), 2u) << "current and old value both blanked";
        for (const StoredSecret& stored : Lsa().stores)
        {
            EXPECT_EQ(stored.length, 0);
            EXPECT_EQ(stored.maximumLength, 2);
            EXPECT_FALSE(stored.bufferNull);
        }
    }
}

TEST(WriterRemove, ASecondStoreThatFailsIsAFailureButAutoLogonStaysOff)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), {{L"AutoAdminLogon", TextValue(L"1")}});
    ResetLsaDouble().storeStatuses = {0, kStatusAccessDenied};
    StdoutCapture output;
    TestDialog dialog;

    const Outcome outcome = Press(dialog, IDC_REMOVE);

    ExpectOneBox(outcome, dialog, kFailedEnglish, 1, true);
    EXPECT_EQ(outcome.quitCode, -1);
    EXPECT_EQ(Lsa().stores.size(), 2u);
    EXPECT_EQ(ReadValues(machine.winlogon()).at(L"AutoAdminLogon"), TextValue(L"0"));
    EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 5\n");
}

TEST(WriterRemove, WithoutAWinlogonKeyStillBlanksTheSecretThenFails)
{
    ScratchMachine machine(false);
    ASSERT_TRUE(machine.ready());
    ResetLsaDouble();
    TestDialog dialog;

    const Outcome outcome = Press(dialog, IDC_REMOVE);

    ExpectOneBox(outcome, dialog, kFailedEnglish, 1, true);
    EXPECT_EQ(outcome.quitCode, -1);
    EXPECT_FALSE(machine.WinlogonExists());
    EXPECT_EQ(Lsa().stores.size(), 2u) << "blanking the secret is always safe";
}

TEST(WriterRemove, RefusedPolicyShowsItsBoxThenTheFailureAndStaysOff)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), {{L"AutoAdminLogon", TextValue(L"1")}});
    ResetLsaDouble().openStatus = kStatusAccessDenied;
    StdoutCapture output;
    TestDialog dialog;

    const Outcome outcome = Press(dialog, IDC_REMOVE);

    ASSERT_EQ(outcome.boxes.size(), 2u);
    EXPECT_EQ(outcome.boxes[0].text, L"Failed call to LsaOpenPolicy");
    EXPECT_EQ(outcome.boxes[0].caption, L"Error") << "the system's default caption";
    EXPECT_EQ(outcome.boxes[0].owner, nullptr);
    EXPECT_FALSE(outcome.boxes[0].icon);
    EXPECT_EQ(outcome.boxes[1].text, kFailedEnglish);
    EXPECT_EQ(outcome.boxes[1].owner, dialog.hwnd());
    EXPECT_EQ(outcome.quitCode, -1);
    EXPECT_EQ(ReadValues(machine.winlogon()).at(L"AutoAdminLogon"), TextValue(L"0"));
    EXPECT_EQ(output.Text(), "Failed call to LsaOpenPolicy 5\n");
}

namespace
{
// The next box of the thread other than the dialog, waiting until one comes or `stop` is set.
HWND NextBox(DWORD threadId, HWND dialog, const std::atomic<bool>& stop)
{
    for (; !stop; Sleep(20))
    {
        if (HWND box = FindBoxOf(threadId, dialog))
            return box;
    }
    return nullptr;
}

// Pumps this thread's messages until the condition holds or the time is up.
template <typename Condition>
bool PumpUntil(Condition done, DWORD timeoutMs = 5000)
{
    for (DWORD waited = 0; !done() && waited < timeoutMs; waited += 10)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(10);
    }
    return done();
}
} // namespace

// While the box of the refused policy, which has no owner, is up, a user clicks Set, Remove,
// Esc and the password field, and a program posts the clicks and the commands that Enter,
// Escape and the close box give. Then Enter on that box, Escape on the failure box after it.
TEST(WriterConcurrency, WhileTheOwnerlessBoxIsUpTheDialogTakesNoInput)
{
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    WriteValues(machine.winlogon(), Leftovers());
    ResetLsaDouble().openStatus = kStatusAccessDenied;
    StdoutCapture output;
    TestDialog dialog;
    Fill(dialog, L"NEWPC", L"anna", L"secret");
    // Into the corner, away from the box in the middle of the screen, so that the clicks
    // land on the buttons.
    SetWindowPos(dialog.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetFocus(dialog.item(IDC_PASSWORD));

    std::vector<SeenBox> boxes;
    std::vector<bool> enabledInBox; // the dialog's state while each box was up
    std::vector<bool> closedByKey;
    bool sent = true;
    std::atomic<bool> setEnded{false};
    std::thread user([&, thread = GetCurrentThreadId()] {
        while (HWND box = NextBox(thread, dialog.hwnd(), setEnded))
        {
            boxes.push_back(ReadBox(box));
            enabledInBox.push_back(IsWindowEnabled(dialog.hwnd()) != FALSE);
            if (boxes.size() == 1)
            {
                for (int id : {IDC_SET, IDC_REMOVE, IDC_ESC})
                    PostMessageW(dialog.item(id), BM_CLICK, 0, 0);
                for (int id : {IDOK, IDCANCEL})
                    PostMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
                PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
                for (int id : {IDC_SET, IDC_REMOVE, IDC_ESC, IDC_PASSWORD})
                    sent = ClickCentreOf(dialog.item(id)) && sent;
            }
            // Input is taken in the order it was given: the key comes after the clicks.
            sent = PressKey(boxes.size() == 1 ? VK_RETURN : VK_ESCAPE) && sent;
            closedByKey.push_back(WaitUntilGone(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0); // should the key have gone elsewhere
            WaitUntilGone(box);
        }
    });
    EXPECT_EQ(dialog.Command(IDC_SET), TRUE);
    setEnded = true;
    user.join();

    ASSERT_TRUE(sent) << GetLastError();
    EXPECT_EQ(Lsa().opens, 1) << "a second command started while the first ran";
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Failed call to LsaOpenPolicy");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[1].text, kFailedEnglish);
    EXPECT_EQ(enabledInBox, std::vector<bool>({false, false}));
    EXPECT_EQ(closedByKey, std::vector<bool>({true, true})) << "the keys went elsewhere";
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd())) << "ended while Set ran";
    EXPECT_EQ(ReadValues(machine.winlogon()), Leftovers());

    // Afterwards it takes input again, from where it was.
    EXPECT_TRUE(IsWindowEnabled(dialog.hwnd()));
    EXPECT_EQ(GetFocus(), dialog.item(IDC_PASSWORD));
    ASSERT_TRUE(ClickCentreOf(dialog.item(IDC_ESC)));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog.hwnd()); }))
        << "a click on Esc did not end the dialog";
    EXPECT_EQ(Lsa().opens, 1);
}

TEST(WriterPrivileges, AreEnabledOncePerProcess)
{
    const wchar_t* const probe = L"SeShutdownPrivilege";
    ScratchMachine machine;
    ASSERT_TRUE(machine.ready());
    ResetLsaDouble();
    {
        TestDialog dialog;
        EXPECT_EQ(Press(dialog, IDC_REMOVE).quitCode, kWriterQuitCode);
    }
    EXPECT_TRUE(PrivilegeEnabled(probe)) << "the first Set or Remove enables the list";

    ASSERT_TRUE(SwitchPrivilege(probe, false));
    ASSERT_FALSE(PrivilegeEnabled(probe));
    {
        TestDialog dialog;
        EXPECT_EQ(Press(dialog, IDC_REMOVE).quitCode, kWriterQuitCode);
    }
    EXPECT_FALSE(PrivilegeEnabled(probe)) << "a second run must not enable again";
    SwitchPrivilege(probe, true);
}
