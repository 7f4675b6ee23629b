// Running tarvelin-cli as a script runs it, over registry states prepared in the prefix's real
// keys: what the end-to-end tests of the console program share.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "../win32/registry_values.h"
#include "../win32/system_words.h"
#include "../win32/test_files.h"
#include "driver.h"
#include "winlogon_keys.h"

inline constexpr wchar_t kPolicies[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline constexpr wchar_t kPasswordLess[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device";

inline std::wstring CliPath()
{
    std::wstring path = TarvelinPath();
    return path.substr(0, path.rfind(L'\\')) + L"\\tarvelin-cli.exe";
}

// tarvelin-cli with stand-ins for what Wine stubs (tests/e2e/standin_cli.cpp).
inline std::wstring StandInPath()
{
    const std::wstring path = CliPath();
    return path.substr(0, path.rfind(L'\\')) + L"\\tests\\e2e\\tarvelin-cli-standin.exe";
}

// The stand-in's secret as its registry value holds it: none, blank, or a password's UTF-16.
inline RegValues SecretHolding(const wchar_t* text)
{
    if (text == nullptr)
        return {};
    return {{L"DefaultPassword", {REG_BINARY, Utf16Bytes(text)}}};
}

// A machine key as the test found it: its values are put back afterwards, and a key that
// did not exist (with the part of its path that did not exist either) is deleted again.
class MachineKey
{
  public:
    // In the 64-bit view, the one Windows reads at logon, unless told otherwise.
    explicit MachineKey(const std::wstring& path, REGSAM view = KEY_WOW64_64KEY) : view_(view)
    {
        // The first part of the path that is missing; empty when the key exists.
        for (size_t end = path.find(L'\\'); missing_.empty(); end = path.find(L'\\', end + 1))
        {
            const std::wstring part = path.substr(0, end);
            HKEY probe = nullptr;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, part.c_str(), 0, KEY_READ | view_, &probe) !=
                ERROR_SUCCESS)
                missing_ = part;
            else
                RegCloseKey(probe);
            if (end == std::wstring::npos)
                break;
        }
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | view_, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
        saved_ = ReadValues(key_);
    }
    ~MachineKey()
    {
        ReplaceValues(key_, saved_);
        RegCloseKey(key_);
        // What did not exist is deleted again, in the view it was made in.
        HKEY made = nullptr;
        if (!missing_.empty() && RegOpenKeyExW(HKEY_LOCAL_MACHINE, missing_.c_str(), 0,
                                               KEY_ALL_ACCESS | view_, &made) == ERROR_SUCCESS)
        {
            RegDeleteTreeW(made, nullptr);
            RegCloseKey(made);
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, missing_.c_str(), view_, 0);
        }
    }
    MachineKey(const MachineKey&) = delete;
    MachineKey& operator=(const MachineKey&) = delete;

    // Makes the key hold exactly these values.
    void Hold(const RegValues& values) { ReplaceValues(key_, values); }
    RegValues Values() const { return ReadValues(key_); }

  private:
    REGSAM view_;
    HKEY key_ = nullptr;
    RegValues saved_;
    std::wstring missing_;
};

// The three keys status reads, emptied of values for the test.
struct StatusKeys
{
    MachineKey winlogon{kWinlogon};
    MachineKey policies{kPolicies};
    MachineKey passwordLess{kPasswordLess};

    void Hold(const RegValues& winlogonValues, const RegValues& policyValues = {},
              const RegValues& passwordLessValues = {})
    {
        winlogon.Hold(winlogonValues);
        policies.Hold(policyValues);
        passwordLess.Hold(passwordLessValues);
    }
};

struct CliResult
{
    DWORD exitCode = 0xdeadbeef;
    std::string out;
    std::string err;
};

// Runs tarvelin-cli (or another program) with the arguments, `input` on a pipe as standard
// input.
inline CliResult RunCli(const std::wstring& arguments, const std::string& input = "",
                        const std::wstring& program = CliPath())
{
    CliResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, 65536));
    SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    DWORD written = 0;
    WriteFile(writeEnd, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    CloseHandle(writeEnd); // the end of the input

    const std::wstring outPath = TempFilePath();
    const std::wstring errPath = TempFilePath();
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    HANDLE err = CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    const BOOL started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    EXPECT_TRUE(started) << "tarvelin-cli.exe did not start: " << GetLastError();
    CloseHandle(readEnd);
    CloseHandle(out);
    CloseHandle(err);
    if (started)
    {
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0)
            << "tarvelin-cli.exe did not end within 30 s";
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.out = ReadWholeFile(outPath);
    result.err = ReadWholeFile(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return result;
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

inline std::wstring ThisComputer()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = ARRAYSIZE(name);
    GetComputerNameW(name, &size);
    return name;
}

// The user Wine runs as: the one account Wine's account database knows.
inline std::wstring ThisUser()
{
    wchar_t name[257] = {};
    DWORD size = ARRAYSIZE(name);
    GetUserNameW(name, &size);
    return name;
}

// Computer and user names are ASCII on the machines that run these tests.
inline std::string Ascii(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// On for this account, as set writes it.
inline RegValues OnAs(const std::wstring& domain, const std::wstring& user)
{
    return {{L"AutoAdminLogon", TextValue(L"1")},
            {L"DefaultDomainName", TextValue(domain)},
            {L"DefaultUserName", TextValue(user)}};
}

// On for a local account that exists: nothing about the account stops it.
inline const RegValues kOn = OnAs(ThisComputer(), ThisUser());

inline RegValues With(RegValues values, const RegValues& more)
{
    for (const auto& [name, value] : more)
        values[name] = value;
    return values;
}
