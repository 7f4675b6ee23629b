// Stands in for the programs the shell starts in the tests (the browser, control.exe,
// explorer.exe): appends one line to the log that TARVELIN_RECORDER_LOG names and exits at
// once. The line: own path, TAB, the show command it was given, TAB, the whole command line.
// Every copy, wherever it lies, logs to the same file, so a test sees which copy ran.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*showCommand*/)
{
    wchar_t log[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TARVELIN_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 2;

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1;

    const std::wstring line =
        std::wstring(self) + L"\t" + std::to_wstring(show) + L"\t" + GetCommandLineW() + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size,
                        nullptr, nullptr);

    // Appends are whole lines, so a reader never sees half of one as complete.
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
