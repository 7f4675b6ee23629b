// What the writer's in-process tests share: the stand-in for the secret store (Wine's
// LsaStorePrivateData is a stub that always fails), a watcher that reads and dismisses the
// message boxes the writer shows, a scratch machine key in place of HKEY_LOCAL_MACHINE, and a
// capture of standard output.
#pragma once
#include <windows.h>

#include <ntsecapi.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "registry_values.h"
#include "test_files.h"

// ---- The secret store's stand-in (defined in secret_test.cpp) ----------------------------

struct StoredSecret
{
    std::wstring name;
    USHORT nameLength = 0;
    USHORT nameMaximumLength = 0;
    USHORT length = 0;
    USHORT maximumLength = 0;
    bool valueNull = false; // no data at all: the secret is deleted
    bool bufferNull = true;
    std::vector<unsigned char> bytes; // the `length` bytes the value pointed at
    LSA_HANDLE policy = nullptr;
};

struct LsaDouble
{
    // What the calls answer.
    NTSTATUS openStatus = 0;
    std::vector<NTSTATUS> storeStatuses; // one per store call; 0 once used up
    std::function<void()> duringStore;   // run inside each store call, if set

    // LsaRetrievePrivateData: not found by default, as under Wine; on success it hands out
    // `retrieveValue` (no value at all with `retrieveNoValue`).
    NTSTATUS retrieveStatus = static_cast<NTSTATUS>(0xC0000034);
    std::wstring retrieveValue;
    bool retrieveNoValue = false;

    // What they were given.
    int opens = 0;
    bool systemNameNull = false;
    bool attributesZero = false;
    ACCESS_MASK access = 0;
    std::vector<StoredSecret> stores;
    std::vector<LSA_HANDLE> closed;
    std::vector<std::wstring> retrieved; // the secret names asked for
    int frees = 0;                       // LsaFreeMemory of a value handed out
    bool freedWiped = false;             // ... whose characters were all zero by then
};

// Fresh answers and records; every test starts with this.
LsaDouble& ResetLsaDouble();
LsaDouble& Lsa();
// The handle the stand-in's LsaOpenPolicy gives out.
LSA_HANDLE DoublePolicyHandle();

constexpr NTSTATUS kStatusAccessDenied = static_cast<NTSTATUS>(0xC0000022); // Win32 error 5
constexpr NTSTATUS kStatusNameNotFound = static_cast<NTSTATUS>(0xC0000034); // Win32 error 2

// ---- Message boxes ------------------------------------------------------------------------

struct SeenBox
{
    std::wstring text;
    std::wstring caption;
    HWND owner = nullptr;
    bool icon = false;
};

// A visible dialog (#32770) of the thread other than `except`, or null.
inline HWND FindBoxOf(DWORD threadId, HWND except)
{
    struct Search
    {
        HWND except;
        HWND found;
    } search{except, nullptr};
    struct Finder
    {
        static BOOL CALLBACK Find(HWND hwnd, LPARAM lParam)
        {
            auto* request = reinterpret_cast<Search*>(lParam);
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (hwnd == request->except || !IsWindowVisible(hwnd) || wcscmp(cls, L"#32770") != 0)
                return TRUE;
            request->found = hwnd;
            return FALSE;
        }
    };
    EnumThreadWindows(threadId, Finder::Find, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A window's text, also when its thread is busy in another window's modal loop.
inline std::wstring TextOfWindow(HWND hwnd)
{
    wchar_t text[1024] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

// What a message box shows: its text (static control 0xFFFF), caption, owner and icon.
inline SeenBox ReadBox(HWND box)
{
    SeenBox seen;
    seen.text = TextOfWindow(GetDlgItem(box, 0xFFFF));
    seen.caption = TextOfWindow(box);
    seen.owner = GetWindow(box, GW_OWNER);
    // The icon of a message box is the static control 0x440.
    HWND icon = GetDlgItem(box, 0x440);
    seen.icon = icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    return seen;
}

// Waits up to timeoutMs for the window to be gone; true if it went.
inline bool WaitUntilGone(HWND window, DWORD timeoutMs = 5000)
{
    for (DWORD waited = 0; IsWindow(window) && waited < timeoutMs; waited += 20)
        Sleep(20);
    return !IsWindow(window);
}

// Watches the calling thread for message boxes (dialogs other than `except`), records each
// and presses its OK button. The thread under test sits in the box's modal loop meanwhile.
class BoxWatcher
{
  public:
    explicit BoxWatcher(HWND except) : except_(except), threadId_(GetCurrentThreadId())
    {
        worker_ = std::thread([this] { Run(); });
    }
    ~BoxWatcher() { Stop(); }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Stops watching; the boxes seen so far stay readable.
    const std::vector<SeenBox>& Stop()
    {
        stop_ = true;
        if (worker_.joinable())
            worker_.join();
        return boxes_;
    }

  private:
    void Run()
    {
        while (!stop_)
        {
            HWND box = FindBoxOf(threadId_, except_);
            if (box == nullptr)
            {
                Sleep(20);
                continue;
            }
            boxes_.push_back(ReadBox(box));
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            WaitUntilGone(box);
        }
    }

    HWND except_;
    DWORD threadId_;
    std::atomic<bool> stop_{false};
    std::vector<SeenBox> boxes_;
    std::thread worker_;
};

// The quit code waiting in this thread's queue (and removed from it), or -1 if none.
inline long long TakeQuitCode()
{
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<long long>(msg.wParam);
    return -1;
}

// ---- The registry -------------------------------------------------------------------------

// A scratch key under HKEY_CURRENT_USER stands in for HKEY_LOCAL_MACHINE while it lives,
// optionally with an empty Winlogon key below it.
class ScratchMachine
{
  public:
    static constexpr const wchar_t* kRoot = L"Software\\TarvelinTest\\Machine";
    static constexpr const wchar_t* kWinlogon =
        L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

    explicit ScratchMachine(bool withWinlogon = true)
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
        RegCreateKeyExW(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root_,
                        nullptr);
        if (withWinlogon)
            RegCreateKeyExW(root_, kWinlogon, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &winlogon_,
                            nullptr);
        CarryComputerName();
        overridden_ = RegOverridePredefKey(HKEY_LOCAL_MACHINE, root_) == ERROR_SUCCESS;
    }
    ~ScratchMachine()
    {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        if (winlogon_ != nullptr)
            RegCloseKey(winlogon_);
        if (root_ != nullptr)
            RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TarvelinTest");
    }
    ScratchMachine(const ScratchMachine&) = delete;
    ScratchMachine& operator=(const ScratchMachine&) = delete;

    bool ready() const { return root_ != nullptr && overridden_; }
    HKEY winlogon() const { return winlogon_; }
    // Deletes the Winlogon key, under the handles that are still open on it.
    LONG DeleteWinlogon() const { return RegDeleteTreeW(root_, kWinlogon); }
    bool WinlogonExists() const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, kWinlogon, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

  private:
    // Wine's GetComputerNameW reads the name through HKEY_LOCAL_MACHINE: the scratch machine
    // carries this computer's name, so that the code under test still finds it.
    void CarryComputerName()
    {
        wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = ARRAYSIZE(name);
        if (!GetComputerNameW(name, &size))
            return;
        for (const wchar_t* path :
             {L"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
              L"SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName"})
        {
            HKEY key = nullptr;
            if (RegCreateKeyExW(root_, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                nullptr) != ERROR_SUCCESS)
                continue;
            RegSetValueExW(key, L"ComputerName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                           (size + 1) * static_cast<DWORD>(sizeof(wchar_t)));
            RegCloseKey(key);
        }
    }

    HKEY root_ = nullptr;
    HKEY winlogon_ = nullptr;
    bool overridden_ = false;
};

// ---- Standard handles ---------------------------------------------------------------------

// Points one standard handle of this process at a temporary file while it lives; for input,
// one that holds `input`.
class StdFile
{
  public:
    explicit StdFile(DWORD which, const std::string& input = "")
        : which_(which), path_(TempFilePath())
    {
        WriteWholeFile(path_, input);
        file_ = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        previous_ = GetStdHandle(which);
        SetStdHandle(which, file_);
    }
    ~StdFile()
    {
        SetStdHandle(which_, previous_);
        CloseHandle(file_);
        DeleteFileW(path_.c_str());
    }
    StdFile(const StdFile&) = delete;
    StdFile& operator=(const StdFile&) = delete;

    std::string Text() const { return ReadWholeFile(path_); }
    // How far the program has read.
    LONGLONG Position() const
    {
        LARGE_INTEGER zero = {};
        LARGE_INTEGER position = {};
        SetFilePointerEx(file_, zero, &position, FILE_CURRENT);
        return position.QuadPart;
    }

  private:
    DWORD which_;
    std::wstring path_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE previous_ = nullptr;
};

// Standard output, where the dialog writes its diagnostic lines.
class StdoutCapture : public StdFile
{
  public:
    StdoutCapture() : StdFile(STD_OUTPUT_HANDLE) {}
};
