// Test helper: replaces what the shell would start (browser, control.exe, explorer.exe) by
// a recorder program, so a test sees exactly which file and parameters a command launched
// and nothing real opens. Header-only: the in-process tests use it as well.
//
// The program starts the system's own control.exe and explorer.exe by full path, so the
// recorder takes their places in the test prefix's system and Windows folders while a
// ShellRecorder lives; the originals wait beside them and are put back afterwards (by the
// next run, should a run die first). Under Wine a program in the system folder that has the
// name of a Wine builtin runs as the builtin unless the DllOverrides say "native", so they
// say so for control.exe meanwhile. The browser is the http(s) handler, which Wine takes from
// HKLM\Software\Classes (the per-user classes are ignored): the recorder is registered there
// as browser.exe in the given folder. Every copy logs to one file, named to it through the
// environment variable TARVELIN_RECORDER_LOG, which the programs started from here inherit.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../win32/test_files.h"

// One start of the recorder, as it logged it.
struct Launch
{
    std::wstring path;      // full path of the copy that ran, lower case
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

inline std::wstring LowerCase(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

// The system's own control.exe and explorer.exe, lower case.
inline std::wstring SystemControlPath()
{
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return LowerCase(std::wstring(folder) + L"\\control.exe");
}

inline std::wstring SystemExplorerPath()
{
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return LowerCase(std::wstring(folder) + L"\\explorer.exe");
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
    // Puts the recorder in the places of the system's control.exe and explorer.exe, and into
    // folder as browser.exe, registered for http and https; the log goes into folder too.
    // folder must end in a backslash.
    explicit ShellRecorder(const std::wstring& folder)
        : folder_(folder), recorder_(RecorderPath()), previousLog_(Environment(kLogVariable))
    {
        DeleteFileW(LogPath().c_str());
        SetEnvironmentVariableW(kLogVariable, LogPath().c_str());
        Copy(folder_ + L"browser.exe");
        const std::wstring command = L"\"" + folder_ + L"browser.exe\" \"%1\"";
        for (ReplacedValue& handler : handlers_)
            handler.Replace(command);
        control_.Replace(recorder_);
        explorer_.Replace(recorder_);
        nativeControl_.Replace(L"native");
    }

    ~ShellRecorder()
    {
        nativeControl_.Restore();
        explorer_.Restore();
        control_.Restore();
        for (ReplacedValue& handler : handlers_)
            handler.Restore();
        for (const std::wstring& copy : copies_)
            DeleteFileW(copy.c_str());
        DeleteFileW(LogPath().c_str());
        SetEnvironmentVariableW(kLogVariable,
                                previousLog_.empty() ? nullptr : previousLog_.c_str());
    }

    // Plants a control.exe and an explorer.exe into folder (ending in a backslash), where a
    // program that starts them by bare name would find them; removed at the end.
    void Plant(const std::wstring& folder)
    {
        Copy(folder + L"control.exe");
        Copy(folder + L"explorer.exe");
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
    static constexpr const wchar_t* kLogVariable = L"TARVELIN_RECORDER_LOG";

    static std::wstring Environment(const wchar_t* name)
    {
        wchar_t value[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
        return length < MAX_PATH ? value : L"";
    }

    void Copy(const std::wstring& copy)
    {
        EXPECT_TRUE(CopyFileW(recorder_.c_str(), copy.c_str(), FALSE))
            << "cannot copy the recorder to " << Narrow(copy) << ": " << GetLastError();
        copies_.push_back(copy);
    }

    // A text registry value, replaced while the test runs and then put back as it was.
    class ReplacedValue
    {
      public:
        ReplacedValue(HKEY root, std::wstring key, const wchar_t* name)
            : root_(root), key_(std::move(key)), name_(name)
        {
        }
        void Replace(const std::wstring& text)
        {
            HKEY key = nullptr;
            LONG rc = RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0,
                                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr);
            ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot open " << Narrow(key_);
            wchar_t previous[1024] = {};
            DWORD size = sizeof previous - sizeof(wchar_t);
            hadValue_ = RegQueryValueExW(key, name_, nullptr, &type_,
                                         reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS;
            previous_ = previous;
            rc = RegSetValueExW(key, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
            ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot set a value in " << Narrow(key_);
            replaced_ = true;
        }
        void Restore()
        {
            if (!replaced_)
                return;
            HKEY key = nullptr;
            if (RegOpenKeyExW(root_, key_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            {
                ADD_FAILURE() << "cannot restore " << Narrow(key_);
                return;
            }
            if (hadValue_)
                RegSetValueExW(key, name_, 0, type_,
                               reinterpret_cast<const BYTE*>(previous_.c_str()),
                               static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
            else
                RegDeleteValueW(key, name_);
            RegCloseKey(key);
            replaced_ = false;
        }

      private:
        HKEY root_;
        std::wstring key_;
        const wchar_t* name_;
        std::wstring previous_;
        DWORD type_ = REG_SZ;
        bool hadValue_ = false;
        bool replaced_ = false;
    };

    // A file of the system, replaced by the recorder while the test runs. The original waits
    // beside it under another name; one left there by a run that died is put back first.
    class ReplacedFile
    {
      public:
        explicit ReplacedFile(std::wstring path)
            : path_(std::move(path)), saved_(path_ + L".tarvelin-saved")
        {
        }
        void Replace(const std::wstring& recorder)
        {
            if (FileExists(saved_))
                Restore();
            ASSERT_TRUE(MoveFileExW(path_.c_str(), saved_.c_str(), 0))
                << "cannot set " << Narrow(path_) << " aside: " << GetLastError();
            EXPECT_TRUE(CopyFileW(recorder.c_str(), path_.c_str(), FALSE))
                << "cannot copy the recorder to " << Narrow(path_) << ": " << GetLastError();
        }
        void Restore()
        {
            if (!FileExists(saved_))
                return;
            EXPECT_TRUE(MoveFileExW(saved_.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING))
                << "cannot put " << Narrow(path_) << " back: " << GetLastError();
        }

      private:
        std::wstring path_;
        std::wstring saved_;
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
        launch.path = LowerCase(line.substr(0, tab1));
        launch.program = launch.path.substr(launch.path.rfind(L'\\') + 1);
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
    std::wstring recorder_;
    std::wstring previousLog_;
    std::vector<std::wstring> copies_;
    ReplacedValue handlers_[2] = {
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\http\\shell\\open\\command", nullptr},
        {HKEY_LOCAL_MACHINE, L"Software\\Classes\\https\\shell\\open\\command", nullptr}};
    ReplacedFile control_{SystemControlPath()};
    ReplacedFile explorer_{SystemExplorerPath()};
    ReplacedValue nativeControl_{HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides",
                                 L"control.exe"};
};
