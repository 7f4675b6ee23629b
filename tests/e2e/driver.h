// A small harness that runs the real Tarvelin.exe and operates it from outside, as a user
// would: windows are found by class and title, controls by their ids from resource.h.
#pragma once
#include <windows.h>

#include <string>

// Full path of the built program, found relative to this driver.
std::wstring TarvelinPath();

// Full path of a program of the 32-bit build (build/win32/), for the cases under WOW64.
std::wstring Win32ProgramPath(const wchar_t* exeName);

// Reads a window's text; WM_GETTEXT also works on another process's edit controls.
std::wstring TextOf(HWND hwnd);

// A visible top-level window of a process with the class (such as "#32770" for dialogs and
// "#32768" for popup menus), the title unless it is null, other than `except`; or null.
HWND FindTopLevelOf(DWORD processId, const wchar_t* className, const std::wstring* title = nullptr,
                    HWND except = nullptr);

// The visible top-level dialog (#32770) of a process whose title matches, or null.
HWND FindDialogOf(DWORD processId, const std::wstring& title);

class RunningProgram
{
  public:
    // Starts the program with optional arguments; standard output goes to outputFile if one
    // is given, and it starts in currentFolder if one is given. Fails the current test if it
    // cannot start.
    explicit RunningProgram(const std::wstring& arguments = L"",
                            const std::wstring& outputFile = L"",
                            const std::wstring& exePath = TarvelinPath(),
                            const std::wstring& currentFolder = L"");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD processId() const { return processId_; }
    DWORD threadId() const { return threadId_; }

    // Waits until the main dialog is visible; null after the timeout.
    HWND WaitForDialog(DWORD timeoutMs = 20000);
    // Waits for a dialog of the process other than `except` (a message box); null on timeout.
    HWND WaitForOtherDialog(HWND except, DWORD timeoutMs = 10000);
    // Waits for the process to end; true and the exit code if it did within the timeout.
    bool WaitForExit(DWORD& exitCode, DWORD timeoutMs = 10000);
    // True while the process has not ended.
    bool Running() const;
    // The window with the keyboard focus in the program's GUI thread.
    HWND FocusedWindow() const;

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    bool thirtyTwoBit_ = false;
};

// The text of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
