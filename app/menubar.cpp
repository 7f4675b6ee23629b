#include "menubar.h"

#include "globals.h"
#include "resource.h"
#include "unique_handle.h"

namespace
{
// The shell library, looked up among the loaded modules (the program links it for
// ShellExecuteA); null until a lookup succeeds. Never released.
HMODULE g_shellModule = nullptr;

// Icons of the shell library shown beside two System entries.
constexpr WORD kShellIconDynamicLock = 151;
constexpr WORD kShellIconUserAccounts = 220;

struct MenuEntry
{
    UINT command; // 0 for a separator
    const char* english;
    const char* german;
};

const MenuEntry kProgramEntries[] = {
    {IDM_HOMEPAGE, "Homepage", "Homepage"}, {0, nullptr, nullptr},
    {IDM_DONATE, "Donate", "Spenden"},      {0, nullptr, nullptr},
    {IDM_EXIT, "Exit", "Beenden"},
};

// Begins and ends with a separator; the System popup has no mnemonic.
const MenuEntry kSystemEntries[] = {
    {0, nullptr, nullptr},
    {IDM_USER_ACCOUNTS, "control userpasswords2", "control userpasswords2"},
    {IDM_SCREEN_SAVER, "Screensaver", "Bildschirmschoner"},
    {IDM_POWER_OPTIONS, "Power Options", "Energieoptionen"},
    {0, nullptr, nullptr},
    {IDM_DYNAMIC_LOCK, "MS-Settings Dynamic-Lock", "MS-Einstellungen Dynamische Sperre"},
    {0, nullptr, nullptr},
};

template <size_t Count>
void AppendEntries(HMENU popup, const MenuEntry (&entries)[Count], bool english)
{
    for (const MenuEntry& entry : entries)
    {
        if (entry.command == 0)
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(popup, MF_STRING, entry.command, english ? entry.english : entry.german);
    }
}

HMODULE ShellModule()
{
    // A failed lookup is tried again next time.
    if (g_shellModule == nullptr)
        g_shellModule = GetModuleHandleA("shell32");
    return g_shellModule;
}

void AttachShellIcon(HMENU bar, UINT command, WORD iconId)
{
    HICON icon = nullptr;
    if (HMODULE shell = ShellModule())
    {
        icon = static_cast<HICON>(LoadImageW(shell, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    }
    // The bitmap stays with the menu until the process ends; the icon is no longer needed.
    HBITMAP bitmap = IconToMenuBitmap(icon);
    if (icon != nullptr)
        DestroyIcon(icon);
    // By command, the search reaches the entry inside its popup. No mark is ever shown.
    SetMenuItemBitmaps(bar, command, MF_BYCOMMAND, bitmap, nullptr);
}
} // namespace

HBITMAP IconToMenuBitmap(HICON icon)
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    UniqueGdiObject dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0));
    UniqueGdiObject brush(CreateSolidBrush(GetSysColor(COLOR_MENU)));
    {
        HDC screen = GetDC(nullptr);
        UniqueMemoryDc memory(CreateCompatibleDC(screen));
        HGDIOBJ displaced = SelectObject(memory.Get(), dib.Get());
        // The menu colour first: without an icon DrawIconEx paints nothing at all, and the
        // entry would show a black square instead of an empty picture.
        RECT all = {0, 0, width, height};
        FillRect(memory.Get(), &all, static_cast<HBRUSH>(brush.Get()));
        // The background brush puts the icon on the menu colour of this moment.
        DrawIconEx(memory.Get(), 0, 0, icon, width, height, 0, static_cast<HBRUSH>(brush.Get()),
                   DI_NORMAL);
        SelectObject(memory.Get(), displaced);
        memory.Reset();
        ReleaseDC(nullptr, screen);
    }
    // Without LR_CREATEDIBSECTION the copy is device-compatible, which menus draw best.
    return static_cast<HBITMAP>(CopyImage(dib.Get(), IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
}

void BuildMenuBar(HWND dialog)
{
    const bool english = g_englishFlag != 0;
    HMENU bar = CreateMenu();

    HMENU program = CreatePopupMenu();
    AppendEntries(program, kProgramEntries, english);
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(program),
                english ? "&Program" : "&Programm");

    HMENU system = CreatePopupMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), "Sytem");
    AppendEntries(system, kSystemEntries, english);

    AttachShellIcon(bar, IDM_DYNAMIC_LOCK, kShellIconDynamicLock);
    AttachShellIcon(bar, IDM_USER_ACCOUNTS, kShellIconUserAccounts);

    // SetMenu does not free the template's placeholder menu: the window would never do it.
    HMENU placeholder = GetMenu(dialog);
    SetMenu(dialog, bar);
    if (placeholder != nullptr && placeholder != bar)
        DestroyMenu(placeholder);
}
