#include "link_label.h"

#include <shellapi.h>

#include <cstring>

#include "globals.h"
#include "web_address.h"

const char kLabelProperty[] = "href_dat";
const char kDialogProperty[] = "href_dlg";

namespace
{
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

// Pins a record's movable block for one access.
class LockedRecord
{
  public:
    explicit LockedRecord(HANDLE block) noexcept
        : block_(block),
          record_(block != nullptr ? static_cast<LinkRecord*>(GlobalLock(block)) : nullptr)
    {
    }
    ~LockedRecord()
    {
        if (record_ != nullptr)
            GlobalUnlock(block_);
    }
    LockedRecord(const LockedRecord&) = delete;
    LockedRecord& operator=(const LockedRecord&) = delete;

    explicit operator bool() const noexcept { return record_ != nullptr; }
    LinkRecord* operator->() const noexcept { return record_; }
    LinkRecord& operator*() const noexcept { return *record_; }

  private:
    HANDLE block_;
    LinkRecord* record_;
};

// Copies the record on a window's property; false when the window carries none.
bool ReadRecord(HWND window, const char* property, HANDLE& block, LinkRecord& record)
{
    block = GetPropA(window, property);
    LockedRecord locked(block);
    if (!locked)
        return false;
    record = *locked;
    return true;
}

// A heap copy of text with its terminator; null when the heap is exhausted.
char* HeapCopy(const char* text)
{
    const SIZE_T size = strlen(text) + 1;
    auto* copy = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (copy != nullptr)
        CopyMemory(copy, text, size);
    return copy;
}

void FreeText(char* text)
{
    if (text != nullptr)
        HeapFree(GetProcessHeap(), 0, text);
}

// Makes a record block, hangs it on the window, then subclasses the window, in that order
// so that the new procedure finds its record from its first message on. False and nothing
// changed when the block cannot be made or hung.
bool Subclass(HWND window, const char* property, const LinkRecord& initial, WNDPROC proc)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(LinkRecord));
    if (block == nullptr)
        return false;
    {
        LockedRecord record(block);
        if (!record)
        {
            GlobalFree(block);
            return false;
        }
        *record = initial;
        record->previousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    }
    if (!SetPropA(window, property, block))
    {
        GlobalFree(block);
        return false;
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return true;
}

void InstallLabel(HWND label, const char* text)
{
    if (HANDLE block = GetPropA(label, kLabelProperty))
    {
        // Installed before: only the stored text changes.
        LockedRecord record(block);
        if (record)
        {
            FreeText(record->text);
            record->text = HeapCopy(text);
        }
        return;
    }
    LinkRecord initial = {};
    initial.text = HeapCopy(text);
    if (!Subclass(label, kLabelProperty, initial, LinkLabelProc))
        FreeText(initial.text);
}

void InstallDialog(HWND dialog)
{
    if (GetPropA(dialog, kDialogProperty) != nullptr)
        return;
    LinkRecord initial = {};
    initial.brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    if (!Subclass(dialog, kDialogProperty, initial, LinkDialogProc) && initial.brush != nullptr)
        DeleteObject(initial.brush);
}

// The address comes from the language of this moment, not from the label's text.
void OpenProductPage(HWND label)
{
    HWND owner = GetParent(label);
    if (owner == nullptr)
        owner = label;
    char address[kWebAddressCapacity] = {};
    if (ComposeWebAddress(address, sizeof address, g_englishFlag, kProductPageMode))
        ShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

// The label's own font, 70 % as high and underlined. The label's font is selected for the
// metrics because the DC of WM_CTLCOLORSTATIC does not hold it yet; a label without a font
// of its own is measured in whatever the DC holds.
HFONT CreateLinkFont(HDC dc, HWND label)
{
    auto* labelFont = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
    HGDIOBJ previous = labelFont != nullptr ? SelectObject(dc, labelFont) : nullptr;
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    LOGFONTW font = {};
    font.lfHeight = LinkFontHeight(metrics.tmHeight);
    font.lfWeight = metrics.tmWeight;
    font.lfItalic = metrics.tmItalic;
    font.lfUnderline = 1;
    font.lfStrikeOut = metrics.tmStruckOut;
    font.lfCharSet = metrics.tmCharSet;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = metrics.tmPitchAndFamily;
    GetTextFaceW(dc, LF_FACESIZE, font.lfFaceName);
    if (previous != nullptr)
        SelectObject(dc, previous);
    return CreateFontIndirectW(&font);
}

// Colours and font for painting a link label; the result is the background brush.
LRESULT PrepareLinkPaint(HANDLE block, const LinkRecord& record, HDC dc, HWND label)
{
    SetTextColor(dc, kLinkColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HFONT font = record.font;
    if (font == nullptr)
    {
        // Made once per dialog, from the first label painted.
        font = CreateLinkFont(dc, label);
        LockedRecord stored(block);
        if (stored)
            stored->font = font;
    }
    if (font != nullptr)
    {
        SelectObject(dc, font);
        // A static control selects its own font after this message and would draw over the
        // selection above in its usual font: it gets the link font as its own.
        if (reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)) != font)
            SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return reinterpret_cast<LRESULT>(record.brush);
}
} // namespace

void InstallLinkLabel(HWND dialog, int controlId, const char* text)
{
    HWND label = GetDlgItem(dialog, controlId);
    if (label == nullptr || text == nullptr)
        return;
    // First, while the label still has its own procedure.
    SetWindowTextA(label, text);
    InstallLabel(label, text);
    InstallDialog(dialog);
}

LRESULT CALLBACK LinkLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    HANDLE block = nullptr;
    LinkRecord record = {};
    if (!ReadRecord(label, kLabelProperty, block, record))
        return DefWindowProcW(label, message, wParam, lParam);

    switch (message)
    {
    case WM_DESTROY:
        RemovePropA(label, kLabelProperty);
        GlobalFree(block);
        FreeText(record.text);
        break;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_NCHITTEST:
        // A static control without SS_NOTIFY would let the mouse through to the dialog.
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        OpenProductPage(label);
        break;
    default:
        break;
    }
    return CallWindowProcW(record.previousProc, label, message, wParam, lParam);
}

LRESULT CALLBACK LinkDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    HANDLE block = nullptr;
    LinkRecord record = {};
    if (!ReadRecord(dialog, kDialogProperty, block, record))
        return DefWindowProcW(dialog, message, wParam, lParam);

    switch (message)
    {
    case WM_DESTROY:
        RemovePropA(dialog, kDialogProperty);
        GlobalFree(block);
        if (record.brush != nullptr)
            DeleteObject(record.brush);
        if (record.font != nullptr)
            DeleteObject(record.font);
        break;
    case WM_CTLCOLORSTATIC: {
        auto* control = reinterpret_cast<HWND>(lParam);
        if (GetPropA(control, kLabelProperty) != nullptr)
            return PrepareLinkPaint(block, record, reinterpret_cast<HDC>(wParam), control);
        break;
    }
    default:
        break;
    }
    return CallWindowProcW(record.previousProc, dialog, message, wParam, lParam);
}
