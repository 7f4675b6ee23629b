// Test helper: replaces what the shell would start (browser, control.exe, explorer.exe) by
// a recorder program, so a test sees exactly which file and parameters a command launched
// and nothing real opens. Header-only: the in-process tests use it as well.
//
// Under Wine, ShellExecute finds a control.exe or explorer.exe beside the launching exe
// before the system's, and takes the http(s) handler from HKLM\Software\Classes (the
// per-user classes are ignored), so the recorder goes there; the previous handlers are
// restored and the copies removed afterwards.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../win32/test_files.h"

// One start of the recorder, as it logged it.
struct Launch
{
    std::wstring program;   // file name it was started as, lower case: "control.exe"
    int show = -2;          // the show command the shell gave it (-1: none)
    std::wstring arguments; // the command line after the program, leading blanks removed
};

inline std::wstring FolderOfThisExe()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = self;
    folder.resize(folder.rfind(L'\\') + 1);
    return folder;
}

inline bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// recorder.exe, built beside the end-to-end driver.
inline std::wstring RecorderPath()
{
    const std::wstring here = FolderOfThisExe();
    for (const wchar_t* candidate : {L"recorder.exe", L"..\\e2e\\recorder.exe"})
    {
        if (FileExists(here + candidate))
            return here + candidate;
    }
    ADD_FAILURE() << "recorder.exe not found near the test program";
    return L"";
}

class ShellRecorder
{
  public:
    // Puts the recorder into folder as control.exe, explorer.exe and browser.exe, the last
    // registered for http and https. folder must end in a backslash and hold the program
    // that launches.
    explicit ShellRecorder(const std::wstring& folder) : folder_(folder)
    {
        const std::wstring recorder = RecorderPath();
        for (const wchar_t* name : kCopies)
        {
            const std::wstring copy = folder_ + name;
            EXPECT_TRUE(CopyFileW(recorder.c_str(), copy.c_str(), FALSE))
                << "cannot copy the recorder to " << Narrow(copy) << ": " << GetLastError();
        }
        DeleteFileW(LogPath().c_str());
        const std::wstring command = L"\"" + folder_ + L"browser.exe\" \"%1\"";
        for (Handler& handler : handlers_)
            handler.Replace(command);
    }

    ~ShellRecorder()
    {
        for (Handler& handler : handlers_)
            handler.Restore();
        for (const wchar_t* name : kCopies)
            DeleteFileW((folder_ + name).c_str());
        DeleteFileW(LogPath().c_str());
    }

    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::wstring LogPath() const { return folder_ + L"recorder.log"; }

    // Waits until `count` launches are logged, then a moment more for surplus ones; returns
    // all that are logged. Fails the test on timeout.
    std::vector<Launch> WaitForLaunches(size_t count, DWORD timeoutMs = 15000) const
    {
        for (DWORD waited = 0;; waited += 50)
        {
            std::vector<Launch> launches = Read();
            if (launches.size() >= count)
                break;
            if (waited >= timeoutMs)
            {
                ADD_FAILURE() << "only " << launches.size() << " of " << count
                              << " launches logged after " << timeoutMs << " ms";
                return launches;
            }
            Sleep(50);
        }
        Sleep(300);
        return Read();
    }

    // Forgets what was logged so far.
    void Clear() const { DeleteFileW(LogPath().c_str()); }

    static std::string Narrow(const std::wstring& text)
    {
        std::string out;
        for (wchar_t c : text)
            out += c < 128 ? static_cast<char>(c) : '?';
        return out;
    }

  private:
    static constexpr const wchar_t* kCopies[] = {L"control.exe", L"explorer.exe", L"browser.exe"};

    // The default value of HKLM\Software\Classes\<scheme>\shell\open\command.
    class Handler
    {
      public:
        explicit Handler(const wchar_t* scheme)
            : key_(std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command")
        {
        }
        void Replace(const std::wstring& command)
        {
            HKEY key = nullptr;
            LONG rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0,
                                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
            ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot open " << Narrow(key_);
            wchar_t previous[1024] = {};
            DWORD size = sizeof previous - sizeof(wchar_t);
            hadValue_ = RegQueryValueExW(key, nullptr, nullptr, &type_,
                                         reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
            previous_ = previous;
            rc = RegSetValueExW(key, nullptr, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
            ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot register the recorder in " << Narrow(key_);
            replaced_ = true;
        }
        void Restore()
        {
            if (!replaced_)
                return;
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE, &key) !=
                ERROR_SUCCESS)
            {
                ADD_FAILURE() << "cannot restore " << Narrow(key_);
                return;
            }
            if (hadValue_)
                RegSetValueExW(key, nullptr, 0, type_,
                               reinterpret_cast<const BYTE*>(previous_.c_str()),
                               static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
            else
                RegDeleteValueW(key, nullptr);
            RegCloseKey(key);
            replaced_ = false;
        }

      private:
        std::wstring key_;
        std::wstring previous_;
        DWORD type_ = REG_SZ;
        bool hadValue_ = false;
        bool replaced_ = false;
    };

    std::vector<Launch> Read() const
    {
        std::vector<Launch> launches;
        std::string bytes;
        if (!ReadFileBytes(LogPath(), bytes))
            return launches;

        size_t start = 0;
        for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
            launches.push_back(Parse(Wide(bytes.substr(start, end - start))));
        return launches;
    }

    static std::wstring Wide(const std::string& utf8)
    {
        std::wstring out(utf8.size(), L'\0');
        const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                          out.data(), static_cast<int>(out.size()));
        out.resize(static_cast<size_t>(n > 0 ? n : 0));
        return out;
    }

    static Launch Parse(const std::wstring& line)
    {
        Launch launch;
        const size_t tab1 = line.find(L'\t');
        const size_t tab2 = line.find(L'\t', tab1 + 1);
        if (tab1 == std::wstring::npos || tab2 == std::wstring::npos)
            return launch;
        std::wstring path = line.substr(0, tab1);
        launch.program = path.substr(path.rfind(L'\\') + 1);
        for (wchar_t& c : launch.program)
            c = static_cast<wchar_t>(towlower(c));
        launch.show = std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1));
        // The first token of the command line is the program, quoted or not.
        const std::wstring commandLine = line.substr(tab2 + 1);
        size_t rest = 0;
        if (!commandLine.empty() && commandLine[0] == L'"')
        {
            const size_t close = commandLine.find(L'"', 1);
            rest = close == std::wstring::npos ? commandLine.size() : close + 1;
        }
        else
        {
            rest = commandLine.find(L' ');
            if (rest == std::wstring::npos)
                rest = commandLine.size();
        }
        rest = commandLine.find_first_not_of(L' ', rest);
        launch.arguments = rest == std::wstring::npos ? L"" : commandLine.substr(rest);
        return launch;
    }

    std::wstring folder_;
    Handler handlers_[2] = {Handler(L"http"), Handler(L"https")};
};
