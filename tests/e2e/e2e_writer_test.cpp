// Set and Remove on the real program under Wine, against the prefix's own Winlogon key. Wine
// has no secret store (LsaStorePrivateData always fails with error 2), so every Set and
// Remove here ends in the failure box: what is checked is that a failure is reported, the
// machine is left as it was (Remove: switched off), and the dialog stays open.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../win32/registry_values.h"
#include "../win32/test_files.h"
#include "driver.h"
#include "resource.h"
#include "winlogon_keys.h"

namespace
{
// Saves the Winlogon values of one registry view and puts them back at the end of the test.
class WinlogonGuard
{
  public:
    explicit WinlogonGuard(REGSAM view = 0)
    {
        const LONG opened =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, kWinlogon, 0, KEY_READ | KEY_WRITE | view, &key_);
        EXPECT_EQ(opened, ERROR_SUCCESS) << "Winlogon key of the test prefix";
        if (opened != ERROR_SUCCESS)
            key_ = nullptr;
        else
            saved_ = ReadValues(key_);
    }
    ~WinlogonGuard()
    {
        if (key_ == nullptr)
            return;
        ReplaceValues(key_, saved_);
        RegCloseKey(key_);
    }
    WinlogonGuard(const WinlogonGuard&) = delete;
    WinlogonGuard& operator=(const WinlogonGuard&) = delete;

    HKEY key() const { return key_; }
    RegValues Values() const { return ReadValues(key_); }

  private:
    HKEY key_ = nullptr;
    RegValues saved_;
};

// A fresh file for the program's standard output, deleted afterwards.
class OutputFile
{
  public:
    OutputFile() : path_(TempFilePath()) {}
    ~OutputFile() { DeleteFileW(path_.c_str()); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::wstring& path() const { return path_; }
    std::string Text() const { return ReadWholeFile(path_); }

  private:
    std::wstring path_;
};

struct Box
{
    HWND hwnd = nullptr;
    std::wstring text;
    std::wstring caption;
    bool icon = false;
};

Box WaitForBox(RunningProgram& program, HWND dialog)
{
    Box box;
    box.hwnd = program.WaitForOtherDialog(dialog, 20000);
    if (box.hwnd == nullptr)
        return box;
    box.text = MessageBoxText(box.hwnd);
    box.caption = TextOf(box.hwnd);
    HWND icon = GetDlgItem(box.hwnd, 0x440);
    box.icon = icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
    return box;
}

void Dismiss(const Box& box)
{
    PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
    for (int waited = 0; IsWindow(box.hwnd) && waited < 10000; waited += 50)
        Sleep(50);
    EXPECT_FALSE(IsWindow(box.hwnd)) << "the message box did not close";
}

void SetField(HWND dialog, int id, const wchar_t* text)
{
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// A Winlogon key that another tool has configured.
RegValues Configured()
{
    return {
        {L"Shell", TextValue(L"explorer.exe")},      {L"AutoAdminLogon", TextValue(L"1")},
        {L"DefaultDomainName", TextValue(L"OLDPC")}, {L"DefaultUserName", TextValue(L"olduser")},
        {L"DefaultPassword", TextValue(L"stale")},   {L"AutoLogonCount", NumberValue(0)}};
}

// Set with a field left empty: the validation box in the user's language, nothing changed.
void ExpectValidationRefused(const wchar_t* text, const wchar_t* caption)
{
    WinlogonGuard guard;
    ASSERT_NE(guard.key(), nullptr);
    ReplaceValues(guard.key(), Configured());
    OutputFile output;
    RunningProgram program(L"", output.path());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);

    const struct
    {
        const wchar_t* user;
        const wchar_t* password;
    } cases[] = {{nullptr, L""}, {L"", L"pw"}};
    for (const auto& c : cases)
    {
        if (c.user != nullptr)
            SetField(dialog, IDC_USER, c.user);
        SetField(dialog, IDC_PASSWORD, c.password);
        PostMessageW(GetDlgItem(dialog, IDC_SET), BM_CLICK, 0, 0);
        const Box box = WaitForBox(program, dialog);
        ASSERT_NE(box.hwnd, nullptr) << "no validation box";
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.caption, caption);
        EXPECT_TRUE(box.icon);
        EXPECT_EQ(guard.Values(), Configured()) << "validation changed the registry";
        Dismiss(box);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PASSWORD)), c.password);
    }
    EXPECT_EQ(output.Text(), "") << "the secret was touched";
    PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
}
} // namespace

TEST(WriterValidation, EmptyPasswordOrUserIsRefusedInEnglish)
{
    ExpectValidationRefused(
        L"The Autologin cannot be configured without Password and / or Username!",
        L"Automatic Login");
}

TEST(GermanWriterValidation, EmptyPasswordOrUserIsRefusedInGerman)
{
    ExpectValidationRefused(
        L"Das Autologin kann nicht ohne Passwort und / oder Benutzername konfiguriert werden!",
        L"Automatische Anmeldung");
}

TEST(WriterSet, FailingSecretIsReportedAndLeavesEveryValueAsItWas)
{
    WinlogonGuard guard;
    ASSERT_NE(guard.key(), nullptr);
    ReplaceValues(guard.key(), Configured());
    OutputFile output;
    {
        RunningProgram program(L"", output.path());
        HWND dialog = program.WaitForDialog();
        ASSERT_NE(dialog, nullptr);
        SetField(dialog, IDC_DOMAIN, L"NEWPC");
        SetField(dialog, IDC_USER, L"anna");
        SetField(dialog, IDC_PASSWORD, L"e2e secret");
        PostMessageW(GetDlgItem(dialog, IDC_SET), BM_CLICK, 0, 0);

        const Box box = WaitForBox(program, dialog);
        ASSERT_NE(box.hwnd, nullptr) << "no outcome box";
        EXPECT_EQ(box.text, L"Autologin cannot be configured!");
        EXPECT_EQ(box.caption, L"Automatic Login");
        EXPECT_TRUE(box.icon);
        const RegValues after = guard.Values();
        EXPECT_EQ(after, Configured()) << Describe(after);
        EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 2\n");
        Dismiss(box);
        EXPECT_TRUE(program.Running());
        EXPECT_TRUE(IsWindowVisible(dialog)) << "a failure must leave the dialog open";
        // The program is now ended by force (TerminateProcess) with the dialog open.
    }
    EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 2\n") << "line lost at exit";
}

TEST(WriterRemove, SwitchesOffLeavesTheNamesAndReportsTheFailingSecret)
{
    WinlogonGuard guard;
    ASSERT_NE(guard.key(), nullptr);
    ReplaceValues(guard.key(), Configured());
    OutputFile output;
    RunningProgram program(L"", output.path());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    PostMessageW(GetDlgItem(dialog, IDC_REMOVE), BM_CLICK, 0, 0);

    const Box box = WaitForBox(program, dialog);
    ASSERT_NE(box.hwnd, nullptr) << "no outcome box";
    EXPECT_EQ(box.text, L"Autologin cannot be configured!");
    RegValues expected = Configured();
    expected[L"AutoAdminLogon"] = TextValue(L"0");
    expected.erase(L"DefaultPassword");
    const RegValues after = guard.Values();
    EXPECT_EQ(after, expected) << Describe(after);
    EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 2\n");
    Dismiss(box);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST(WriterMissingKey, SetAndRemoveFailAndCreateNothing)
{
    WinlogonAbsent absent;
    ASSERT_TRUE(absent.moved()) << "could not move the Winlogon key aside";
    ASSERT_FALSE(WinlogonExists());
    OutputFile output;
    RunningProgram program(L"", output.path());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);

    SetField(dialog, IDC_PASSWORD, L"pw");
    PostMessageW(GetDlgItem(dialog, IDC_SET), BM_CLICK, 0, 0);
    Box box = WaitForBox(program, dialog);
    ASSERT_NE(box.hwnd, nullptr) << "no box after Set";
    EXPECT_EQ(box.text, L"Autologin cannot be configured!");
    EXPECT_FALSE(WinlogonExists()) << "Set created the key";
    EXPECT_EQ(output.Text(), "") << "Set went on to the secret";
    Dismiss(box);

    PostMessageW(GetDlgItem(dialog, IDC_REMOVE), BM_CLICK, 0, 0);
    box = WaitForBox(program, dialog);
    ASSERT_NE(box.hwnd, nullptr) << "no box after Remove";
    EXPECT_EQ(box.text, L"Autologin cannot be configured!");
    EXPECT_FALSE(WinlogonExists()) << "Remove created the key";
    // Remove blanks the secret all the same: the stub's failure shows that it tried.
    EXPECT_EQ(output.Text(), "Failed call to LsaStorePrivateData 2\n");
    Dismiss(box);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

// The 32-bit build under WOW64 must reach the 64-bit Winlogon key, not Wow6432Node.
TEST(Wow64Writer, ThirtyTwoBitProgramWritesTheSixtyFourBitKey)
{
    const std::wstring exe = Win32ProgramPath(L"Tarvelin.exe");
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES)
        << "build/win32/Tarvelin.exe is missing: make win32";
    WinlogonGuard native;
    WinlogonGuard wow(KEY_WOW64_32KEY);
    ASSERT_NE(native.key(), nullptr);
    ASSERT_NE(wow.key(), nullptr);
    ReplaceValues(native.key(), {{L"AutoAdminLogon", TextValue(L"1")}});
    ReplaceValues(wow.key(), {{L"AutoAdminLogon", TextValue(L"1")}, {L"Marker", TextValue(L"32")}});
    ASSERT_EQ(native.Values().count(L"Marker"), 0u) << "the two views are one key here";

    RunningProgram program(L"", L"", exe);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, program.processId());
    ASSERT_NE(process, nullptr);
    BOOL underWow64 = FALSE;
    EXPECT_TRUE(IsWow64Process(process, &underWow64));
    CloseHandle(process);
    ASSERT_TRUE(underWow64) << "the program is not a 32-bit process under WOW64";

    PostMessageW(GetDlgItem(dialog, IDC_REMOVE), BM_CLICK, 0, 0);
    const Box box = WaitForBox(program, dialog);
    ASSERT_NE(box.hwnd, nullptr) << "no outcome box";
    EXPECT_EQ(native.Values().at(L"AutoAdminLogon"), TextValue(L"0"));
    EXPECT_EQ(wow.Values().at(L"AutoAdminLogon"), TextValue(L"1")) << "went to Wow6432Node";
    Dismiss(box);
}

// One step of the password-trail check (trail.sh): Set and Remove with a password that must
// appear nowhere in the prefix's registry files afterwards.
TEST(PasswordTrail, SetAndRemoveWithAMarkedPassword)
{
    WinlogonGuard guard;
    ASSERT_NE(guard.key(), nullptr);
    RunningProgram program;
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr);
    SetField(dialog, IDC_PASSWORD, L"Trail-7Qx-Pw-4931");
    for (int button : {IDC_SET, IDC_REMOVE})
    {
        PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        const Box box = WaitForBox(program, dialog);
        ASSERT_NE(box.hwnd, nullptr) << "no outcome box";
        Dismiss(box);
    }
}
