// The link label on the real dialog: subclassing, records, paint set-up, pointer, click and
// clean-up.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../e2e/shell_recorder.h"
#include "link_label.h"
#include "test_dialog.h"
#include "web_address.h"

namespace
{
LinkRecord RecordOf(HWND window, const char* property)
{
    LinkRecord copy = {};
    HANDLE block = GetPropA(window, property);
    EXPECT_NE(block, nullptr) << property;
    if (block == nullptr)
        return copy;
    const auto* locked = static_cast<const LinkRecord*>(GlobalLock(block));
    EXPECT_NE(locked, nullptr) << property;
    if (locked != nullptr)
    {
        copy = *locked;
        GlobalUnlock(block);
    }
    return copy;
}

WNDPROC ProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

std::string TextA(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A memory DC with a font of the given cell height selected, and poisoned colours.
class PaintDc
{
  public:
    explicit PaintDc(int cellHeight)
        : dc_(CreateCompatibleDC(nullptr)),
          font_(CreateFontW(cellHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                            L"Tahoma"))
    {
        previous_ = SelectObject(dc_, font_);
        SetTextColor(dc_, RGB(1, 2, 3));
        SetBkColor(dc_, RGB(4, 5, 6));
    }
    ~PaintDc()
    {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
        DeleteDC(dc_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC dc() const { return dc_; }
    HFONT font() const { return font_; }
    HGDIOBJ current() const { return GetCurrentObject(dc_, OBJ_FONT); }

  private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_ = nullptr;
};

LRESULT CtlColor(HWND dialog, HDC dc, HWND control)
{
    return SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}
} // namespace

TEST(LinkLabel, InstalledOnTheDialogWithTheSiteOfTheLanguage)
{
    for (int flag : {1, 0})
    {
        TestDialog dialog(flag);
        ASSERT_NE(dialog.hwnd(), nullptr);
        HWND label = dialog.item(IDC_LINK);
        EXPECT_EQ(TextA(label), SiteBaseAddress(flag)) << flag;
        EXPECT_EQ(ProcOf(label), LinkLabelProc);
        EXPECT_EQ(ProcOf(dialog.hwnd()), LinkDialogProc);

        const LinkRecord labelRecord = RecordOf(label, kLabelProperty);
        ASSERT_NE(labelRecord.text, nullptr);
        EXPECT_STREQ(labelRecord.text, SiteBaseAddress(flag));
        EXPECT_NE(labelRecord.previousProc, nullptr);
        EXPECT_NE(labelRecord.previousProc, LinkLabelProc);
        EXPECT_EQ(labelRecord.font, nullptr);
        EXPECT_EQ(labelRecord.brush, nullptr);

        const LinkRecord dialogRecord = RecordOf(dialog.hwnd(), kDialogProperty);
        EXPECT_EQ(dialogRecord.text, nullptr);
        EXPECT_NE(dialogRecord.previousProc, nullptr);
        EXPECT_NE(dialogRecord.previousProc, LinkDialogProc);
        EXPECT_NE(dialogRecord.brush, nullptr);
        LOGBRUSH brush = {};
        ASSERT_EQ(GetObjectW(dialogRecord.brush, sizeof brush, &brush),
                  static_cast<int>(sizeof brush));
        EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_BTNFACE));
        // Other controls are left alone.
        EXPECT_EQ(GetPropA(dialog.item(IDC_PASSWORD_CAPTION), kLabelProperty), nullptr);
    }
}

TEST(LinkLabel, HandPointerAndClientHitTestWhereverTheMouseIs)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND label = dialog.item(IDC_LINK);
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    ASSERT_NE(hand, nullptr);
    for (LPARAM lParam : {MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), MAKELPARAM(HTERROR, WM_LBUTTONDOWN),
                          static_cast<LPARAM>(0)})
    {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        EXPECT_EQ(SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), lParam), 1);
        EXPECT_EQ(GetCursor(), hand) << std::hex << lParam;
    }
    RECT rect = {};
    GetWindowRect(label, &rect);
    for (LPARAM point : {MAKELPARAM(rect.left + 1, rect.top + 1), MAKELPARAM(0, 0),
                         MAKELPARAM(rect.right + 100, rect.bottom + 100)})
        EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, point), HTCLIENT) << std::hex << point;
}

TEST(LinkLabel, PaintSetUpForTheLabelAndTheFontMadeOnce)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND label = dialog.item(IDC_LINK);
    // Nothing has painted yet: no message was dispatched since the dialog was made.
    ASSERT_EQ(RecordOf(dialog.hwnd(), kDialogProperty).font, nullptr);

    // The label's own font decides the link font, not what the paint DC holds.
    PaintDc labelFont(90);
    TEXTMETRICW metrics = {};
    ASSERT_TRUE(GetTextMetricsW(labelFont.dc(), &metrics));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(labelFont.dc(), LF_FACESIZE, face);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont.font()), FALSE);

    PaintDc paint(20);
    const LinkRecord before = RecordOf(dialog.hwnd(), kDialogProperty);
    EXPECT_EQ(CtlColor(dialog.hwnd(), paint.dc(), label), reinterpret_cast<LRESULT>(before.brush));
    EXPECT_EQ(GetTextColor(paint.dc()), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(paint.dc()), GetSysColor(COLOR_BTNFACE));

    const LinkRecord after = RecordOf(dialog.hwnd(), kDialogProperty);
    ASSERT_NE(after.font, nullptr);
    EXPECT_EQ(after.brush, before.brush);
    EXPECT_EQ(paint.current(), after.font) << "the link font is not selected";
    // The static control selects its own font after asking for colours: it must be ours.
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(after.font));
    LOGFONTW font = {};
    ASSERT_EQ(GetObjectW(after.font, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, LinkFontHeight(metrics.tmHeight)) << "tmHeight " << metrics.tmHeight;
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfWeight, metrics.tmWeight);
    EXPECT_EQ(font.lfItalic, metrics.tmItalic);
    EXPECT_EQ(font.lfCharSet, metrics.tmCharSet);
    EXPECT_EQ(font.lfPitchAndFamily, metrics.tmPitchAndFamily);
    EXPECT_STREQ(font.lfFaceName, face);

    // A later change of the label's font changes nothing: the link font stays.
    PaintDc other(40);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(other.font()), FALSE);
    EXPECT_EQ(CtlColor(dialog.hwnd(), other.dc(), label), reinterpret_cast<LRESULT>(before.brush));
    EXPECT_EQ(other.current(), after.font);
    EXPECT_EQ(RecordOf(dialog.hwnd(), kDialogProperty).font, after.font);
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(after.font));
}

// The real paint: the label shows its text in the link font made from the dialog's font.
TEST(LinkLabel, PaintedInTheLinkFont)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND label = dialog.item(IDC_LINK);
    auto* dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog.hwnd(), WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, dialogFont);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    DeleteDC(dc);

    RedrawWindow(dialog.hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const LinkRecord record = RecordOf(dialog.hwnd(), kDialogProperty);
    ASSERT_NE(record.font, nullptr) << "painting the label made no link font";
    EXPECT_EQ(SendMessageW(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(record.font));
    LOGFONTW font = {};
    ASSERT_EQ(GetObjectW(record.font, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_EQ(font.lfHeight, LinkFontHeight(metrics.tmHeight)) << "tmHeight " << metrics.tmHeight;
    EXPECT_EQ(font.lfUnderline, 1);
    // The other captions keep the dialog's font.
    EXPECT_EQ(SendMessageW(dialog.item(IDC_PASSWORD_CAPTION), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(dialogFont));
}

TEST(LinkLabel, OtherStaticControlsArePassedOn)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND caption = dialog.item(IDC_PASSWORD_CAPTION);
    const LinkRecord record = RecordOf(dialog.hwnd(), kDialogProperty);

    PaintDc passedOn(16);
    const LRESULT result = CtlColor(dialog.hwnd(), passedOn.dc(), caption);
    EXPECT_NE(result, reinterpret_cast<LRESULT>(record.brush));
    EXPECT_NE(GetTextColor(passedOn.dc()), RGB(0, 0, 255));
    EXPECT_EQ(passedOn.current(), passedOn.font()) << "the caption's font was replaced";

    // Exactly what the dialog's own procedure answers.
    PaintDc direct(16);
    EXPECT_EQ(result, CallWindowProcW(record.previousProc, dialog.hwnd(), WM_CTLCOLORSTATIC,
                                      reinterpret_cast<WPARAM>(direct.dc()),
                                      reinterpret_cast<LPARAM>(caption)));
    EXPECT_EQ(GetTextColor(passedOn.dc()), GetTextColor(direct.dc()));
    EXPECT_EQ(RecordOf(dialog.hwnd(), kDialogProperty).font, nullptr) << "made for a non-link";
}

TEST(LinkLabel, SecondInstallReplacesTheTextWithoutSubclassingAgain)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND label = dialog.item(IDC_LINK);
    HANDLE labelBlock = GetPropA(label, kLabelProperty);
    HANDLE dialogBlock = GetPropA(dialog.hwnd(), kDialogProperty);
    const LinkRecord before = RecordOf(label, kLabelProperty);
    const LinkRecord dialogBefore = RecordOf(dialog.hwnd(), kDialogProperty);

    InstallLinkLabel(dialog.hwnd(), IDC_LINK, "second text");
    EXPECT_EQ(TextA(label), "second text");
    EXPECT_EQ(GetPropA(label, kLabelProperty), labelBlock);
    EXPECT_EQ(GetPropA(dialog.hwnd(), kDialogProperty), dialogBlock);
    const LinkRecord after = RecordOf(label, kLabelProperty);
    ASSERT_NE(after.text, nullptr);
    EXPECT_STREQ(after.text, "second text");
    EXPECT_EQ(after.previousProc, before.previousProc) << "subclassed twice";
    EXPECT_EQ(ProcOf(label), LinkLabelProc);
    const LinkRecord dialogAfter = RecordOf(dialog.hwnd(), kDialogProperty);
    EXPECT_EQ(dialogAfter.previousProc, dialogBefore.previousProc);
    EXPECT_EQ(dialogAfter.brush, dialogBefore.brush);
    // Still answers as a link (a label subclassed onto itself would recurse here).
    EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, 0), HTCLIENT);
}

TEST(LinkLabel, TwoLabelsShareOneDialogRecord)
{
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND first = dialog.item(IDC_LINK);
    HWND second = dialog.item(IDC_PASSWORD_CAPTION);
    HANDLE dialogBlock = GetPropA(dialog.hwnd(), kDialogProperty);
    const LinkRecord dialogBefore = RecordOf(dialog.hwnd(), kDialogProperty);

    InstallLinkLabel(dialog.hwnd(), IDC_PASSWORD_CAPTION, "another link");
    EXPECT_EQ(TextA(second), "another link");
    EXPECT_EQ(ProcOf(second), LinkLabelProc);
    HANDLE secondBlock = GetPropA(second, kLabelProperty);
    ASSERT_NE(secondBlock, nullptr);
    EXPECT_NE(secondBlock, GetPropA(first, kLabelProperty));
    EXPECT_EQ(GetPropA(dialog.hwnd(), kDialogProperty), dialogBlock);
    EXPECT_EQ(RecordOf(dialog.hwnd(), kDialogProperty).previousProc, dialogBefore.previousProc);

    PaintDc one(20);
    PaintDc two(40);
    const LRESULT brushOne = CtlColor(dialog.hwnd(), one.dc(), first);
    const LRESULT brushTwo = CtlColor(dialog.hwnd(), two.dc(), second);
    EXPECT_EQ(brushOne, reinterpret_cast<LRESULT>(dialogBefore.brush));
    EXPECT_EQ(brushTwo, brushOne);
    EXPECT_EQ(one.current(), two.current()) << "the labels got different fonts";
    EXPECT_EQ(GetTextColor(two.dc()), RGB(0, 0, 255));
}

namespace
{
// Spies on top of the subclassed windows, to look at the properties when WM_NCDESTROY
// comes, after the link procedures have seen WM_DESTROY.
struct DestroySpy
{
    WNDPROC next = nullptr;
    bool sawNcDestroy = false;
    HANDLE propertyAtNcDestroy = reinterpret_cast<HANDLE>(1);
};
DestroySpy g_labelSpy;
DestroySpy g_dialogSpy;

LRESULT Spy(DestroySpy& spy, const char* property, HWND window, UINT message, WPARAM wParam,
            LPARAM lParam)
{
    if (message == WM_NCDESTROY)
    {
        spy.sawNcDestroy = true;
        spy.propertyAtNcDestroy = GetPropA(window, property);
    }
    return CallWindowProcW(spy.next, window, message, wParam, lParam);
}

LRESULT CALLBACK LabelSpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Spy(g_labelSpy, kLabelProperty, window, message, wParam, lParam);
}

LRESULT CALLBACK DialogSpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Spy(g_dialogSpy, kDialogProperty, window, message, wParam, lParam);
}
} // namespace

TEST(LinkLabel, DestroyingTheWindowsRemovesTheRecordsBrushAndFont)
{
    auto dialog = std::make_unique<TestDialog>();
    ASSERT_NE(dialog->hwnd(), nullptr);
    HWND label = dialog->item(IDC_LINK);
    {
        PaintDc dc(20);
        CtlColor(dialog->hwnd(), dc.dc(), label); // makes the font
    }
    const LinkRecord record = RecordOf(dialog->hwnd(), kDialogProperty);
    ASSERT_NE(record.font, nullptr);
    ASSERT_NE(record.brush, nullptr);

    g_labelSpy = DestroySpy{};
    g_dialogSpy = DestroySpy{};
    g_labelSpy.next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelSpyProc)));
    g_dialogSpy.next = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(dialog->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogSpyProc)));

    dialog.reset();
    EXPECT_TRUE(g_labelSpy.sawNcDestroy);
    EXPECT_TRUE(g_dialogSpy.sawNcDestroy);
    EXPECT_EQ(g_labelSpy.propertyAtNcDestroy, nullptr) << "href_dat left on the label";
    EXPECT_EQ(g_dialogSpy.propertyAtNcDestroy, nullptr) << "href_dlg left on the dialog";
    EXPECT_EQ(GetObjectType(record.brush), 0u) << "brush not deleted";
    EXPECT_EQ(GetObjectType(record.font), 0u) << "font not deleted";
}

// The click opens the product page of the language of the moment, whatever the label shows.
// Wine only: the ShellRecorder swaps the system's control.exe and explorer.exe, which only a
// Wine prefix lets a test do, and registers the browser where Wine looks for it (HKLM
// classes); Windows protects those files and asks the user's own choice of browser.
TEST(LinkLabelWineOnly, ClickOpensTheProductPageShownNormally)
{
    ShellRecorder recorder(FolderOfThisExe());
    TestDialog dialog(1);
    ASSERT_NE(dialog.hwnd(), nullptr);
    HWND label = dialog.item(IDC_LINK);
    InstallLinkLabel(dialog.hwnd(), IDC_LINK, "not an address");

    const std::string english = std::string(TARVELIN_SITE_EN) + kProductPageQuery;
    const std::string german = std::string(TARVELIN_SITE_DE) + kProductPageQuery;
    size_t count = 0;
    for (const std::string& expected : {english, german})
    {
        g_englishFlag = expected == english ? 1 : 0;
        SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        const std::vector<Launch> launches = recorder.WaitForLaunches(++count);
        ASSERT_EQ(launches.size(), count);
        EXPECT_EQ(launches.back().program, L"browser.exe");
        EXPECT_EQ(launches.back().show, SW_SHOWNORMAL);
        EXPECT_EQ(launches.back().arguments,
                  L"\"" + std::wstring(expected.begin(), expected.end()) + L"\"");
    }
}
