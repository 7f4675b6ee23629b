// The real program under Wine, seen from outside: the dialog, its texts and how it ends.
#include <gtest/gtest.h>

#include "driver.h"
#include "resource.h"

namespace
{
std::wstring ComputerName()
{
    wchar_t name[1024] = {};
    DWORD size = 1024;
    EXPECT_TRUE(GetComputerNameW(name, &size));
    return name;
}

std::wstring UserName()
{
    wchar_t name[1024] = {};
    DWORD size = 1024;
    EXPECT_TRUE(GetUserNameW(name, &size));
    return name;
}

// The unnamed static captions, in template order.
std::wstring UnnamedCaptions(HWND dialog)
{
    std::wstring captions;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
    {
        const bool isIcon = (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        if (GetDlgCtrlID(child) == 0xFFFF && !isIcon)
            captions += TextOf(child) + L"|";
    }
    return captions;
}

void ExpectEndsWithZero(RunningProgram& program)
{
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
}

// What every dialog shows, in either language.
void ExpectCommonState(const RunningProgram& program, HWND dialog)
{
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_DOMAIN)), ComputerName());
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_USER)), UserName());
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PASSWORD)), L"");
    EXPECT_EQ(program.FocusedWindow(), GetDlgItem(dialog, IDC_PASSWORD));
    EXPECT_EQ(UnnamedCaptions(dialog), L"Domain:|User: |");
}
} // namespace

TEST(EnglishCaptions, DialogShowsTitleNamesFocusAndTemplateCaptions)
{
    RunningProgram program;
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog titled \"Tarvelin 1.01 - x64\"";
    ExpectCommonState(program, dialog);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SET)), L"Set");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_REMOVE)), L"Remove");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ESC)), L"Esc");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PASSWORD_CAPTION)), L"Password:");
    PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
    ExpectEndsWithZero(program);
}

TEST(GermanCaptions, ButtonsAndPasswordCaptionAreGerman)
{
    RunningProgram program;
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog titled \"Tarvelin 1.01 - x64\"";
    ExpectCommonState(program, dialog);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_SET)), L"Setzen");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_REMOVE)), L"Entfernen");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_ESC)), L"&Abbrechen");
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PASSWORD_CAPTION)), L"Passwort:");
    PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
    ExpectEndsWithZero(program);
}

TEST(Keyboard, EnterInAFieldKeepsTheDialogOpenAndEscapeEndsIt)
{
    RunningProgram program;
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    SendMessageW(GetDlgItem(dialog, IDC_PASSWORD), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"secret"));
    for (int field : {IDC_PASSWORD, IDC_DOMAIN, IDC_USER})
        PostMessageW(GetDlgItem(dialog, field), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    Sleep(1500);
    ASSERT_TRUE(program.Running()) << "Enter closed the program";
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PASSWORD)), L"secret");
    EXPECT_EQ(program.WaitForOtherDialog(dialog, 200), nullptr) << "Enter opened a box";

    PostMessageW(GetDlgItem(dialog, IDC_PASSWORD), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ExpectEndsWithZero(program);
}

// Each way of ending, with and without command-line arguments (which are ignored).
enum class Ending
{
    EscButton,
    EscapeKey,
    CloseBox
};

class EndingTest : public testing::TestWithParam<std::tuple<Ending, const wchar_t*>>
{
};

TEST_P(EndingTest, EndsWithExitCodeZero)
{
    const auto [ending, arguments] = GetParam();
    RunningProgram program(arguments);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "arguments changed what starts";
    switch (ending)
    {
    case Ending::EscButton:
        PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
        break;
    case Ending::EscapeKey:
        PostMessageW(GetDlgItem(dialog, IDC_DOMAIN), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        break;
    case Ending::CloseBox:
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    ExpectEndsWithZero(program);
}

INSTANTIATE_TEST_SUITE_P(
    AllEndings, EndingTest,
    testing::Combine(testing::Values(Ending::EscButton, Ending::EscapeKey, Ending::CloseBox),
                     testing::Values(L"", L"/remove --set user=x \"C:\\some path\" -?")));
