#include "dialog.h"

#include "change_result.h"
#include "globals.h"
#include "language.h"
#include "link_label.h"
#include "menubar.h"
#include "resource.h"
#include "settings_store.h"
#include "web_address.h"
#include "web_page.h"
#include "wow64.h"
#include "writer.h"

int g_timeValue = 5;

namespace
{
// The buffers the name calls fill; a failing call leaves its buffer empty.
constexpr DWORD kNameCapacity = 1024;

const wchar_t kSettingsSection[] = L"Program";
const wchar_t kTimeKey[] = L"Time";

void SetCaptionIcons(HWND dialog)
{
    // Loaded at both sizes so neither the caption nor Alt+Tab has to scale; they live
    // until the process ends.
    HANDLE big =
        LoadImageW(g_module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR);
    HANDLE small =
        LoadImageW(g_module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR);
    SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
}

// The fields show who runs the program on which computer, never what Winlogon holds.
void PrefillNames(HWND dialog)
{
    wchar_t computer[kNameCapacity] = {};
    DWORD size = kNameCapacity;
    if (!GetComputerNameW(computer, &size))
        computer[0] = L'\0';

    wchar_t user[kNameCapacity] = {};
    size = kNameCapacity;
    if (!GetUserNameW(user, &size))
        user[0] = L'\0';

    SetDlgItemTextW(dialog, IDC_DOMAIN, computer);
    SetDlgItemTextW(dialog, IDC_USER, user);
}

// Typing and pasting stop at the longest logon password; the writer refuses longer text.
void LimitFields(HWND dialog)
{
    const int fields[] = {IDC_DOMAIN, IDC_USER, IDC_PASSWORD};
    for (int id : fields)
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kFieldLimit, 0);
}

void ApplyCaptions(HWND dialog)
{
    const DialogCaptions& captions = CaptionsFor(g_englishFlag);
    const struct
    {
        int id;
        const wchar_t* text;
    } items[] = {{IDC_SET, captions.set},
                 {IDC_REMOVE, captions.remove},
                 {IDC_ESC, captions.esc},
                 {IDC_PASSWORD_CAPTION, captions.password}};
    for (const auto& item : items)
    {
        if (item.text != nullptr)
            SetDlgItemTextW(dialog, item.id, item.text);
    }
}

void OnInitDialog(HWND dialog)
{
    // Settings file location: resolved here, before anything reads a setting.
    g_settings.ResolvePath(kProductName);

    // WOW64, first point: file-system redirection goes off for the set-up below.
    if (QueryWow64())
        SetFsRedirection(FALSE);

    InstallLinkLabel(dialog, IDC_LINK, SiteBaseAddress(g_englishFlag));

    wchar_t title[64];
    ComposeWindowTitle(title, ARRAYSIZE(title), kProductName, kVersionText);
    SetWindowTextW(dialog, title);

    BuildMenuBar(dialog);

    SetCaptionIcons(dialog);

    // WOW64, second point: redirection back on, registry view flag settled.
    SetFsRedirection(TRUE);
    if (QueryWow64())
        g_registryView = KEY_WOW64_64KEY;

    LimitFields(dialog);
    PrefillNames(dialog);
    SetFocus(GetDlgItem(dialog, IDC_PASSWORD));
    ApplyCaptions(dialog);

    // Time setting: read from the settings file, unclamped; missing or empty keeps 5.
    g_timeValue = g_settings.ReadInt(kSettingsSection, kTimeKey, g_timeValue, -1, -1);
}

// Set and Remove run to their end before the dialog takes input again. Their boxes owned by
// the dialog would keep it disabled, but the box of a refused policy has no owner: so the
// dialog is disabled for the whole command, and then the focus goes back where it was.
void RunWriter(HWND dialog, int mode)
{
    HWND focus = GetFocus();
    EnableWindow(dialog, FALSE);
    WriteAutoLogon(dialog, mode);
    EnableWindow(dialog, TRUE);
    if (focus != nullptr && IsChild(dialog, focus))
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
}

// While a command runs the dialog is disabled; a command that still arrives, posted by a
// program rather than typed or clicked, is refused as a click would be.
bool CommandRunning(HWND dialog)
{
    return IsWindowEnabled(dialog) == FALSE;
}

INT_PTR OnCommand(HWND dialog, int id)
{
    // Time commands come only from other programs; they are stored at once and then fall
    // through the dispatch below, which has no row for them.
    if (id >= IDM_TIME_FIRST && id <= IDM_TIME_LAST)
    {
        g_timeValue = id - IDM_TIME_BASE;
        g_settings.WriteInt(kSettingsSection, kTimeKey, g_timeValue, nullptr);
    }

    if (CommandRunning(dialog))
        return FALSE;

    switch (id)
    {
    case IDOK:
        // Enter in a field: neither closes the dialog nor starts Set.
        return TRUE;
    case IDCANCEL:
    case IDC_ESC:
        EndDialog(dialog, 0);
        return TRUE;
    case IDC_SET:
        RunWriter(dialog, 0);
        return TRUE;
    case IDC_REMOVE:
        RunWriter(dialog, 1);
        return TRUE;
    case IDM_HOMEPAGE:
        OpenWebPage(0);
        return TRUE;
    case IDM_PRODUCT_PAGE:
        OpenWebPage(1);
        return TRUE;
    case IDM_DONATE:
        OpenWebPage(kDonationPageMode);
        return TRUE;
    case IDM_USER_ACCOUNTS:
    case IDM_SCREEN_SAVER:
    case IDM_POWER_OPTIONS:
    case IDM_DYNAMIC_LOCK:
        // Windows settings pages, through the shell.
        OpenSettingsPage(id);
        return FALSE;
    default:
        return FALSE;
    }
}

void MarkTimeItems(HMENU popup)
{
    for (int item = IDM_TIME_MARK_FIRST; item <= IDM_TIME_MARK_LAST; ++item)
    {
        const UINT mark = item - IDM_TIME_BASE == g_timeValue ? MF_CHECKED : MF_UNCHECKED;
        CheckMenuItem(popup, static_cast<UINT>(item), MF_BYCOMMAND | mark);
    }
}
} // namespace

INT_PTR CALLBACK AutoLogonDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (message)
    {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE:
        // The close box, Alt+F4 and the window menu's close item; not while Set or Remove runs.
        if (!CommandRunning(dialog))
            EndDialog(dialog, 0);
        return FALSE;
    case WM_INITMENUPOPUP:
        MarkTimeItems(reinterpret_cast<HMENU>(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}
