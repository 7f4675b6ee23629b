// What the dialog procedure does with the messages it handles.
#include <gtest/gtest.h>

#include <string>

#include "test_dialog.h"

TEST(DialogInit, TitleIconsNamesFocusAndEnglishCaptions)
{
    TestDialog dialog(1);
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(WindowText(dialog.hwnd()), L"Tarvelin 1.01 - x64");
    EXPECT_NE(SendMessageW(dialog.hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
    EXPECT_NE(SendMessageW(dialog.hwnd(), WM_GETICON, ICON_BIG, 0), 0);

    wchar_t computer[1024] = {};
    DWORD size = 1024;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    wchar_t user[1024] = {};
    size = 1024;
    ASSERT_TRUE(GetUserNameW(user, &size));
    EXPECT_EQ(WindowText(dialog.item(IDC_DOMAIN)), computer);
    EXPECT_EQ(WindowText(dialog.item(IDC_USER)), user);
    EXPECT_EQ(WindowText(dialog.item(IDC_PASSWORD)), L"");
    EXPECT_EQ(GetFocus(), dialog.item(IDC_PASSWORD));

    EXPECT_EQ(WindowText(dialog.item(IDC_SET)), L"Set");
    EXPECT_EQ(WindowText(dialog.item(IDC_REMOVE)), L"Remove");
    EXPECT_EQ(WindowText(dialog.item(IDC_ESC)), L"Esc");
    EXPECT_EQ(WindowText(dialog.item(IDC_PASSWORD_CAPTION)), L"Password:");
}

TEST(DialogInit, GermanCaptionsWhenTheEnglishFlagIsZero)
{
    TestDialog dialog(0);
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(WindowText(dialog.hwnd()), L"Tarvelin 1.01 - x64");
    EXPECT_EQ(WindowText(dialog.item(IDC_SET)), L"Setzen");
    EXPECT_EQ(WindowText(dialog.item(IDC_REMOVE)), L"Entfernen");
    EXPECT_EQ(WindowText(dialog.item(IDC_ESC)), L"&Abbrechen");
    EXPECT_EQ(WindowText(dialog.item(IDC_PASSWORD_CAPTION)), L"Passwort:");
    // The same in both languages.
    HWND child = GetWindow(dialog.hwnd(), GW_CHILD);
    std::wstring statics;
    for (; child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (GetDlgCtrlID(child) == IDC_UNNAMED || GetDlgCtrlID(child) == 0xFFFF)
            statics += WindowText(child) + L"|";
    }
    EXPECT_NE(statics.find(L"Domain:|"), std::wstring::npos);
    EXPECT_NE(statics.find(L"User: |"), std::wstring::npos);
}

TEST(DialogCommands, OkIsHandledAndDoesNothingElse)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    SetWindowTextW(dialog.item(IDC_PASSWORD), L"typed");
    EXPECT_EQ(dialog.Command(IDOK), TRUE);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
    EXPECT_EQ(WindowText(dialog.item(IDC_PASSWORD)), L"typed");
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "posted a quit";
}

TEST(DialogCommands, UnhandledCommandsAndMessagesGiveFalse)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    for (int id : {0, 2000, 5000, 5065, 40024, 40032, 65535})
        EXPECT_EQ(dialog.Command(id), FALSE) << id;
    EXPECT_EQ(AutoLogonDialogProc(dialog.hwnd(), WM_PAINT, 0, 0), FALSE);
    EXPECT_EQ(AutoLogonDialogProc(dialog.hwnd(), WM_TIMER, 1, 0), FALSE);
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
}

TEST(DialogCommands, EscAndCancelEndTheDialogAsHandled)
{
    for (int id : {IDCANCEL, IDC_ESC})
    {
        TestDialog dialog;
        ASSERT_NE(dialog.hwnd(), nullptr);
        EXPECT_EQ(dialog.Command(id), TRUE) << id;
        // EndDialog hides a dialog at once.
        EXPECT_FALSE(IsWindowVisible(dialog.hwnd())) << id;
    }
}

TEST(DialogCommands, CloseEndsTheDialogButReportsFalse)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(AutoLogonDialogProc(dialog.hwnd(), WM_CLOSE, 0, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}
