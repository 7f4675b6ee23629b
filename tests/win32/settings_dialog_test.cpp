// The dialog's Time setting, in-process: the real template and procedure read Time when they
// initialise, store it on commands 5001-5064 and mark it in a popup that holds such items.
// The settings file is a scratch Tarvelin.ini beside the test program, which the store
// prefers to the per-user one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_store.h"
#include "settings_test_util.h"
#include "test_dialog.h"

namespace
{
class SettingsDialogTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        file_ = ExeFolder() + L"\\Tarvelin.ini";
        RemoveFile(file_);
        g_timeValue = 5;
    }
    void TearDown() override
    {
        RemoveFile(file_);
        g_timeValue = 5;
    }

    void StoreTime(const std::string& value)
    {
        ASSERT_TRUE(WriteWholeFile(file_, "[Program]\r\nTime=" + value + "\r\n"));
    }

    std::wstring file_;
};

// A popup with the items 5001-5064, as another program's menu might carry them.
class TimePopup
{
  public:
    explicit TimePopup(bool allChecked)
    {
        menu_ = CreatePopupMenu();
        for (int id = IDM_TIME_FIRST; id <= IDM_TIME_LAST; ++id)
        {
            const std::wstring text = L"Time " + std::to_wstring(id - IDM_TIME_BASE);
            AppendMenuW(menu_, MF_STRING | (allChecked ? MF_CHECKED : MF_UNCHECKED),
                        static_cast<UINT_PTR>(id), text.c_str());
        }
    }
    ~TimePopup() { DestroyMenu(menu_); }
    TimePopup(const TimePopup&) = delete;
    TimePopup& operator=(const TimePopup&) = delete;

    HMENU get() const { return menu_; }

    // The Time values (identifier - 5000) whose items carry a check mark.
    std::vector<int> Checked() const
    {
        std::vector<int> values;
        for (int id = IDM_TIME_FIRST; id <= IDM_TIME_LAST; ++id)
        {
            if (GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED)
                values.push_back(id - IDM_TIME_BASE);
        }
        return values;
    }

  private:
    HMENU menu_ = nullptr;
};

std::string Show(const std::vector<int>& values)
{
    std::string text;
    for (int value : values)
        text += std::to_string(value) + " ";
    return text;
}

// Runs the dialog's initialisation once more, as WM_INITDIALOG. Each dialog window costs Wine
// about two seconds to take down without a window manager, so one window serves many cases.
INT_PTR Reinitialise(HWND dialog)
{
    return AutoLogonDialogProc(dialog, WM_INITDIALOG, 0, 0);
}

INT_PTR InitMenuPopup(HWND dialog, HMENU popup)
{
    return AutoLogonDialogProc(dialog, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup),
                               MAKELPARAM(0, FALSE));
}
} // namespace

TEST_F(SettingsDialogTest, InitialisationReadsTheStoredTimeUnclamped)
{
    StoreTime("33");
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(std::wstring(g_settings.Path()), file_);
    EXPECT_EQ(g_timeValue, 33);

    for (int value : {1, 64, 0, -7, 100000})
    {
        StoreTime(std::to_string(value));
        g_timeValue = 5;
        EXPECT_EQ(Reinitialise(dialog.hwnd()), TRUE);
        EXPECT_EQ(g_timeValue, value);
    }
}

TEST_F(SettingsDialogTest, AMissingOrEmptyTimeKeepsTheCurrentValue)
{
    ASSERT_TRUE(WriteWholeFile(file_, "[Program]\r\n"));
    g_timeValue = 17;
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(g_timeValue, 17);

    for (const char* content : {"[Program]\r\nTime=\r\n", "", "[Other]\r\nTime=3\r\n"})
    {
        ASSERT_TRUE(WriteWholeFile(file_, content));
        g_timeValue = 17;
        Reinitialise(dialog.hwnd());
        EXPECT_EQ(g_timeValue, 17) << "content: " << content;
    }
}

TEST_F(SettingsDialogTest, PopupMarksExactlyTheStoredTimeWithin5To62)
{
    const struct
    {
        const char* stored;
        std::vector<int> marked;
    } cases[] = {
        {"1", {}},  {"4", {}},  {"5", {5}}, {"33", {33}}, {"62", {62}},
        {"63", {}}, {"64", {}}, {"0", {}},  {"-1", {}},   {"+9", {9}},
    };
    StoreTime("");
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    for (const auto& c : cases)
    {
        StoreTime(c.stored);
        Reinitialise(dialog.hwnd());
        TimePopup popup(false);
        EXPECT_EQ(InitMenuPopup(dialog.hwnd(), popup.get()), FALSE);
        EXPECT_EQ(Show(popup.Checked()), Show(c.marked)) << "stored Time " << c.stored;
    }
}

TEST_F(SettingsDialogTest, PopupLeavesItems5001To5004And5063To5064Alone)
{
    // Every item starts checked: only 5005-5062 are touched, and all but the value lose it.
    StoreTime("20");
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    TimePopup popup(true);
    EXPECT_EQ(InitMenuPopup(dialog.hwnd(), popup.get()), FALSE);
    EXPECT_EQ(Show(popup.Checked()), Show({1, 2, 3, 4, 20, 63, 64}));
}

TEST_F(SettingsDialogTest, Commands5001To5064StoreTimeAndReportFalse)
{
    ASSERT_TRUE(WriteWholeFile(file_, ""));
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    ASSERT_EQ(std::wstring(g_settings.Path()), file_);

    for (int id : {5001, 5033, 5064})
    {
        EXPECT_EQ(dialog.Command(id), FALSE) << id;
        EXPECT_EQ(g_timeValue, id - 5000);
        EXPECT_EQ(KeyLine(file_, "Time"), "Time=" + std::to_string(id - 5000));
    }
    // Just outside the range nothing is stored.
    for (int id : {5000, 5065})
    {
        EXPECT_EQ(dialog.Command(id), FALSE) << id;
        EXPECT_EQ(g_timeValue, 64) << id;
        EXPECT_EQ(KeyLine(file_, "Time"), "Time=64") << id;
    }

    // The stored value is what the next dialog starts with, and what its popup marks.
    EXPECT_EQ(dialog.Command(5012), FALSE);
    g_timeValue = 5;
    TestDialog next;
    ASSERT_NE(next.hwnd(), nullptr);
    EXPECT_EQ(g_timeValue, 12);
    TimePopup popup(false);
    InitMenuPopup(next.hwnd(), popup.get());
    EXPECT_EQ(Show(popup.Checked()), Show({12}));
}
