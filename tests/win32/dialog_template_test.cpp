// The dialog template as stored in the program and the dialog the procedure makes of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_dialog.h"

namespace
{
// One control of a plain DLGTEMPLATE, read from the resource bytes.
struct TemplateItem
{
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    WORD id;
    std::wstring className; // predefined classes are stored as atoms 0x80...
    std::wstring caption;   // an ordinal caption is written as "#<number>"
};

struct Template
{
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::wstring menu, className, caption, font;
    WORD pointSize;
    std::vector<TemplateItem> items;
};

class Reader
{
  public:
    explicit Reader(const BYTE* p) : p_(p), start_(p) {}
    template <typename T>
    T Get()
    {
        T value;
        memcpy(&value, p_, sizeof value);
        p_ += sizeof value;
        return value;
    }
    // A string or ordinal field: 0x0000 empty, 0xFFFF then an ordinal, else a string.
    std::wstring SzOrOrd()
    {
        const WORD first = Get<WORD>();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Get<WORD>());
        std::wstring text;
        for (WORD c = first; c != 0; c = Get<WORD>())
            text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignDword()
    {
        while ((p_ - start_) % 4 != 0)
            ++p_;
    }

  private:
    const BYTE* p_;
    const BYTE* start_;
};

Template LoadTemplate()
{
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_AUTOLOGON), MAKEINTRESOURCEW(5));
    EXPECT_NE(found, nullptr);
    Reader r(static_cast<const BYTE*>(LockResource(LoadResource(module, found))));
    Template t{};
    t.style = r.Get<DWORD>();
    t.exStyle = r.Get<DWORD>();
    const WORD count = r.Get<WORD>();
    t.x = r.Get<short>();
    t.y = r.Get<short>();
    t.cx = r.Get<short>();
    t.cy = r.Get<short>();
    t.menu = r.SzOrOrd();
    t.className = r.SzOrOrd();
    t.caption = r.SzOrOrd();
    if (t.style & DS_SETFONT)
    {
        t.pointSize = r.Get<WORD>();
        t.font = r.SzOrOrd();
    }
    for (WORD i = 0; i < count; ++i)
    {
        r.AlignDword();
        TemplateItem item{};
        item.style = r.Get<DWORD>();
        item.exStyle = r.Get<DWORD>();
        item.x = r.Get<short>();
        item.y = r.Get<short>();
        item.cx = r.Get<short>();
        item.cy = r.Get<short>();
        item.id = r.Get<WORD>();
        item.className = r.SzOrOrd();
        item.caption = r.SzOrOrd();
        const WORD extra = r.Get<WORD>();
        EXPECT_EQ(extra, 0) << "control " << item.id;
        t.items.push_back(item);
    }
    return t;
}

const std::wstring kButton = L"BUTTON", kEdit = L"EDIT", kStatic = L"STATIC";

// A predefined class may be stored by name or as its atom; both name the same class.
std::wstring ClassName(const std::wstring& stored)
{
    if (stored == L"#128")
        return kButton;
    if (stored == L"#129")
        return kEdit;
    if (stored == L"#130")
        return kStatic;
    return stored;
}

struct ExpectedControl
{
    WORD id;
    std::wstring className;
    std::wstring caption;
    DWORD style;
    short x, y, cx, cy;
};

const ExpectedControl kControls[] = {
    {1035, kEdit, L"", 0x50810080, 72, 39, 138, 13},
    {122, kButton, L"Set", 0x50010000, 89, 61, 50, 14},
    {121, kButton, L"Remove", 0x50010000, 144, 61, 50, 14},
    {1030, kButton, L"Esc", 0x50010000, 199, 61, 50, 14},
    {1033, kEdit, L"", 0x50810080, 72, 8, 138, 13},
    {1034, kEdit, L"", 0x50810080, 72, 24, 138, 13},
    {1, kButton, L"OK", 0x40010000, 213, 36, 28, 14},
    {0xFFFF, kStatic, L"#117", 0x50000003, 220, 20, 20, 20},
    {1032, kStatic, L"...", 0x50020002, 119, 82, 135, 8},
    {0xFFFF, kStatic, L"Domain:", 0x50020002, 37, 10, 29, 8},
    {1036, kStatic, L"Password:", 0x50020002, 28, 43, 38, 8},
    {0xFFFF, kStatic, L"User: ", 0x50020002, 45, 27, 21, 8},
};
} // namespace

TEST(DialogTemplate, HeaderIsThePlainFormWithItsStyleMenuCaptionAndFont)
{
    const Template t = LoadTemplate();
    EXPECT_EQ(t.style, 0x80C808C0u) << std::hex << t.style;
    EXPECT_EQ(t.exStyle, 0u);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.cx, 262);
    EXPECT_EQ(t.cy, 90);
    EXPECT_EQ(t.menu, L"#113");
    EXPECT_EQ(t.className, L"");
    EXPECT_EQ(t.caption, L"Tarvelin");
    EXPECT_EQ(t.pointSize, 11);
    EXPECT_EQ(t.font, L"Tahoma");
}

TEST(DialogTemplate, TwelveControlsInTemplateOrder)
{
    const Template t = LoadTemplate();
    ASSERT_EQ(t.items.size(), std::size(kControls));
    for (size_t i = 0; i < t.items.size(); ++i)
    {
        const TemplateItem& got = t.items[i];
        const ExpectedControl& want = kControls[i];
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(ClassName(got.className), want.className);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
    }
}

TEST(DialogTemplate, PlaceholderMenuExists)
{
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_PLACEHOLDER_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_GE(GetMenuItemCount(menu), 1);
    DestroyMenu(menu);
}

TEST(DialogWindow, ChildWindowsFollowTheTemplate)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr) << GetLastError();
    const wchar_t* classes[] = {L"Edit",   L"Button", L"Button", L"Button", L"Edit",   L"Edit",
                                L"Button", L"Static", L"Static", L"Static", L"Static", L"Static"};
    HWND child = GetWindow(dialog.hwnd(), GW_CHILD);
    for (size_t i = 0; i < std::size(kControls); ++i)
    {
        SCOPED_TRACE("control #" + std::to_string(i + 1));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), kControls[i].id);
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        EXPECT_EQ(_wcsicmp(cls, classes[i]), 0) << "class " << std::wstring(cls).c_str();
        // Only the OK button is hidden.
        EXPECT_EQ(IsWindowVisible(child) != FALSE, kControls[i].id != IDOK);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than the template has";
}

TEST(DialogWindow, TabOrderSkipsTheHiddenOkButton)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    const int order[] = {IDC_PASSWORD, IDC_SET,  IDC_REMOVE,  IDC_ESC,
                         IDC_DOMAIN,   IDC_USER, IDC_PASSWORD};
    HWND current = dialog.item(IDC_PASSWORD);
    for (size_t i = 1; i < std::size(order); ++i)
    {
        current = GetNextDlgTabItem(dialog.hwnd(), current, FALSE);
        EXPECT_EQ(GetDlgCtrlID(current), order[i]) << "step " << i;
    }
    // The first tab stop, which the dialog manager focuses, is the password field.
    EXPECT_EQ(GetNextDlgTabItem(dialog.hwnd(), nullptr, FALSE), dialog.item(IDC_PASSWORD));
}
