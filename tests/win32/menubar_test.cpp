// The menu bar on the real dialog, in both languages, and the commands of its entries.
#include <gtest/gtest.h>

#include <string>

#include "../e2e/shell_recorder.h"
#include "menubar.h"
#include "test_dialog.h"
#include "web_address.h"

namespace
{
struct ExpectedItem
{
    UINT id; // 0: separator
    const char* english;
    const char* german;
    bool picture;
};

const ExpectedItem kProgram[] = {
    {IDM_HOMEPAGE, "Homepage", "Homepage", false}, {0, nullptr, nullptr, false},
    {IDM_DONATE, "Donate", "Spenden", false},      {0, nullptr, nullptr, false},
    {IDM_EXIT, "Exit", "Beenden", false},
};

const ExpectedItem kSystem[] = {
    {0, nullptr, nullptr, false},
    {IDM_USER_ACCOUNTS, "control userpasswords2", "control userpasswords2", true},
    {IDM_SCREEN_SAVER, "Screensaver", "Bildschirmschoner", false},
    {IDM_POWER_OPTIONS, "Power Options", "Energieoptionen", false},
    {0, nullptr, nullptr, false},
    {IDM_DYNAMIC_LOCK, "MS-Settings Dynamic-Lock", "MS-Einstellungen Dynamische Sperre", true},
    {0, nullptr, nullptr, false},
};

std::string MenuString(HMENU menu, UINT position)
{
    char text[256];
    memset(text, 'x', sizeof text);
    const int length = GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

template <size_t Count>
void ExpectPopup(HMENU popup, const ExpectedItem (&items)[Count], bool english, const char* name)
{
    ASSERT_NE(popup, nullptr) << name;
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(Count)) << name;
    for (UINT i = 0; i < Count; ++i)
    {
        const ExpectedItem& expected = items[i];
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_CHECKMARKS | MIIM_SUBMENU;
        info.wID = 0xdead;
        info.hbmpChecked = reinterpret_cast<HBITMAP>(0xdead);
        info.hbmpUnchecked = reinterpret_cast<HBITMAP>(0xdead);
        ASSERT_TRUE(GetMenuItemInfoA(popup, i, TRUE, &info)) << name << " " << i;
        EXPECT_EQ(info.hSubMenu, nullptr) << name << " " << i;
        EXPECT_EQ(info.hbmpChecked, nullptr) << name << " " << i;
        if (expected.id == 0)
        {
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << name << " " << i << " is no separator";
            EXPECT_EQ(info.wID, 0u) << name << " " << i;
            continue;
        }
        EXPECT_EQ(info.fType & MFT_SEPARATOR, 0u) << name << " " << i;
        // Separators read as disabled; entries are neither checked, greyed nor disabled.
        EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_DISABLED | MFS_GRAYED), 0u) << name << " " << i;
        EXPECT_EQ(info.wID, expected.id) << name << " " << i;
        EXPECT_EQ(MenuString(popup, i), english ? expected.english : expected.german)
            << name << " " << i;
        EXPECT_EQ(info.hbmpUnchecked != nullptr, expected.picture)
            << name << " " << i << " picture " << info.hbmpUnchecked;
        if (expected.picture && info.hbmpUnchecked != nullptr)
        {
            BITMAP bitmap = {};
            ASSERT_EQ(GetObjectW(info.hbmpUnchecked, sizeof bitmap, &bitmap),
                      static_cast<int>(sizeof bitmap));
            EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(SM_CXSMICON)) << expected.id;
            EXPECT_EQ(bitmap.bmHeight, GetSystemMetrics(SM_CYSMICON)) << expected.id;
        }
    }
}

void ExpectMenuBar(int englishFlag)
{
    TestDialog dialog(englishFlag);
    ASSERT_NE(dialog.hwnd(), nullptr);
    HMENU bar = GetMenu(dialog.hwnd());
    ASSERT_NE(bar, nullptr);
    // The placeholder menu had one popup; the bar has two.
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuString(bar, 0), englishFlag != 0 ? "&Program" : "&Programm");
    EXPECT_EQ(MenuString(bar, 1), "Sytem");
    const bool english = englishFlag != 0;
    ExpectPopup(GetSubMenu(bar, 0), kProgram, english, "Program");
    ExpectPopup(GetSubMenu(bar, 1), kSystem, english, "System");
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return pixel;
}
} // namespace

TEST(MenuBar, EnglishStructureCaptionsAndPictures)
{
    ExpectMenuBar(1);
}

TEST(MenuBar, GermanStructureCaptionsAndPictures)
{
    ExpectMenuBar(0);
}

TEST(MenuBar, AnyFlagButZeroIsEnglish)
{
    ExpectMenuBar(2);
}

TEST(MenuBitmap, NullIconGivesAnEmptyPictureOnTheMenuColour)
{
    HBITMAP bitmap = IconToMenuBitmap(nullptr);
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib = {};
    // A device-compatible bitmap reports only its BITMAP part, a DIB section more.
    EXPECT_EQ(GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(dib.dsBm.bmWidth, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(dib.dsBm.bmHeight, GetSystemMetrics(SM_CYSMICON));
    const COLORREF menu = GetSysColor(COLOR_MENU);
    for (int y = 0; y < dib.dsBm.bmHeight; y += 5)
        for (int x = 0; x < dib.dsBm.bmWidth; x += 5)
            ASSERT_EQ(PixelOf(bitmap, x, y), menu) << x << "," << y;
    DeleteObject(bitmap);
}

TEST(MenuBitmap, IconIsDrawnOnTheMenuColour)
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    auto* icon =
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM),
                                      IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr);
    HBITMAP bitmap = IconToMenuBitmap(icon);
    DestroyIcon(icon);
    ASSERT_NE(bitmap, nullptr);
    int drawn = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            drawn += PixelOf(bitmap, x, y) != GetSysColor(COLOR_MENU) ? 1 : 0;
    EXPECT_GT(drawn, width * height / 4) << "the icon is hardly there";
    EXPECT_LT(drawn, width * height) << "no menu colour left around the icon";
    DeleteObject(bitmap);
}

// The menu commands, called on the procedure itself for their results. A recorder beside
// this test program stands in for the browser, control.exe and explorer.exe.
// Wine only: the ShellRecorder swaps system files and the browser's registration, as in
// LinkLabelWineOnly.
TEST(MenuCommandsWineOnly, PagesAreHandledSettingsPagesAreNot)
{
    ShellRecorder recorder(FolderOfThisExe());
    TestDialog dialog(1);
    ASSERT_NE(dialog.hwnd(), nullptr);
    const std::string site = TARVELIN_SITE_EN;
    auto quoted = [](const std::string& text) {
        return L"\"" + std::wstring(text.begin(), text.end()) + L"\"";
    };
    const struct
    {
        int command;
        INT_PTR result;
        std::wstring program;
        std::wstring arguments;
    } cases[] = {
        {IDM_HOMEPAGE, TRUE, L"browser.exe", quoted(site + kProductPageQuery)},
        {IDM_PRODUCT_PAGE, TRUE, L"browser.exe", quoted(site + kProductPageQuery)},
        {IDM_DONATE, TRUE, L"browser.exe", quoted(site + kDonationQuery)},
        {IDM_USER_ACCOUNTS, FALSE, L"control.exe", L"userpasswords2"},
        {IDM_SCREEN_SAVER, FALSE, L"control.exe", L"desk.cpl ,1"},
        {IDM_POWER_OPTIONS, FALSE, L"control.exe", L"powercfg.cpl"},
        {IDM_DYNAMIC_LOCK, FALSE, L"explorer.exe", L"ms-settings:signinoptions-dynamiclock"},
    };
    size_t count = 0;
    for (const auto& c : cases)
    {
        EXPECT_EQ(dialog.Command(c.command), c.result) << c.command;
        const std::vector<Launch> launches = recorder.WaitForLaunches(++count);
        ASSERT_EQ(launches.size(), count) << c.command;
        EXPECT_EQ(launches.back().program, c.program) << c.command;
        EXPECT_EQ(launches.back().show, SW_SHOW) << c.command;
        EXPECT_EQ(launches.back().arguments, c.arguments) << c.command;
    }
    EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
}
