#include "driver.h"

#include <gtest/gtest.h>

namespace
{
struct FindRequest
{
    DWORD processId;
    const wchar_t* className;
    const std::wstring* title; // null: any title
    HWND except;
    HWND found;
};

BOOL CALLBACK FindTopLevelProc(HWND hwnd, LPARAM lParam)
{
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != request->processId || hwnd == request->except || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, request->className) != 0)
        return TRUE;
    if (request->title != nullptr && TextOf(hwnd) != *request->title)
        return TRUE;
    request->found = hwnd;
    return FALSE;
}

HWND FindDialog(DWORD processId, const std::wstring* title, HWND except)
{
    return FindTopLevelOf(processId, L"#32770", title, except);
}
} // namespace

HWND FindTopLevelOf(DWORD processId, const wchar_t* className, const std::wstring* title,
                    HWND except)
{
    FindRequest request{processId, className, title, except, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

std::wstring TarvelinPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.resize(path.rfind(L'\\'));
    // build/<preset>/tests/e2e/e2e_tests.exe -> build/<preset>/Tarvelin.exe
    path += L"\\..\\..\\Tarvelin.exe";
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::wstring Win32ProgramPath(const wchar_t* exeName)
{
    // build/win64/Tarvelin.exe -> build/win32/<exeName>
    std::wstring path = TarvelinPath();
    path.resize(path.rfind(L'\\'));
    path.resize(path.rfind(L'\\'));
    return path + L"\\win32\\" + exeName;
}

std::wstring TextOf(HWND hwnd)
{
    wchar_t text[4096] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, nullptr);
    return text;
}

HWND FindDialogOf(DWORD processId, const std::wstring& title)
{
    return FindDialog(processId, &title, nullptr);
}

RunningProgram::RunningProgram(const std::wstring& arguments, const std::wstring& outputFile,
                               const std::wstring& exePath, const std::wstring& currentFolder)
{
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    HANDLE output = nullptr;
    if (!outputFile.empty())
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        output = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(output, INVALID_HANDLE_VALUE) << "cannot create " << outputFile.size();
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output;
        startup.hStdError = output;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION info = {};
    const BOOL ok = CreateProcessW(
        exePath.c_str(), commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr,
        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info);
    if (output != nullptr)
        CloseHandle(output);
    EXPECT_TRUE(ok) << "CreateProcessW failed with " << GetLastError();
    if (!ok)
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    DWORD type = 0;
    thirtyTwoBit_ = GetBinaryTypeW(exePath.c_str(), &type) && type == SCS_32BIT_BINARY;
}

RunningProgram::~RunningProgram()
{
    if (process_ == nullptr)
        return;
    if (Running())
    {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND RunningProgram::WaitForDialog(DWORD timeoutMs)
{
    // The 32-bit build names its own architecture.
    const std::wstring title =
        std::wstring(L"Tarvelin 1.01 - ") + (thirtyTwoBit_ ? L"x86" : L"x64");
    for (DWORD waited = 0; waited < timeoutMs && started(); waited += 50)
    {
        // FindWindow would find it before it is shown: wait for visibility too.
        if (HWND dialog = FindDialog(processId_, &title, nullptr))
            return dialog;
        if (!Running())
            return nullptr;
        Sleep(50);
    }
    return nullptr;
}

HWND RunningProgram::WaitForOtherDialog(HWND except, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs && started(); waited += 50)
    {
        if (HWND box = FindDialog(processId_, nullptr, except))
            return box;
        Sleep(50);
    }
    return nullptr;
}

bool RunningProgram::WaitForExit(DWORD& exitCode, DWORD timeoutMs)
{
    if (!started() || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process_, &exitCode) != FALSE;
}

bool RunningProgram::Running() const
{
    return started() && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND RunningProgram::FocusedWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

std::wstring MessageBoxText(HWND box)
{
    return TextOf(GetDlgItem(box, 0xFFFF));
}
