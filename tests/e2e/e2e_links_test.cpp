// The real program under Wine: what its menu commands and its link label start through the
// shell, and the Program menu from the keyboard. A recorder stands in for the browser,
// control.exe and explorer.exe, so the test sees the exact file, parameters and show command.
// Neither program starts or loads what is planted beside it.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "../win32/real_input.h"
#include "cli_runner.h"
#include "driver.h"
#include "resource.h"
#include "shell_recorder.h"

namespace
{
const std::wstring kSiteGerman = L"" TARVELIN_SITE_DE;
const std::wstring kSiteEnglish = L"" TARVELIN_SITE_EN;
const std::wstring kProductQuery = L"?page=Windows/Tools/Tarvelin/1";
const std::wstring kDonationQuery = L"?paypal&Program=Tarvelin";

// A folder of its own, by default with a copy of Tarvelin.exe (or of `program`), so that other
// programs can stand beside it; removed with everything in it afterwards.
class ScratchProgram
{
  public:
    explicit ScratchProgram(const wchar_t* name = L"links", bool withProgram = true,
                            const std::wstring& program = TarvelinPath())
        : exeName_(program.substr(program.rfind(L'\\') + 1))
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"tarvelin-" + name + L"-" +
                  std::to_wstring(GetCurrentProcessId()) + L"\\";
        EXPECT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << GetLastError();
        if (withProgram)
        {
            EXPECT_TRUE(CopyFileW(program.c_str(), exe().c_str(), FALSE)) << GetLastError();
        }
    }
    ~ScratchProgram()
    {
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE)
        {
            do
                DeleteFileW((folder_ + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        EXPECT_TRUE(RemoveDirectoryW(folder_.c_str())) << "scratch folder left: " << GetLastError();
    }
    ScratchProgram(const ScratchProgram&) = delete;
    ScratchProgram& operator=(const ScratchProgram&) = delete;

    const std::wstring& folder() const { return folder_; }
    std::wstring exe() const { return folder_ + exeName_; }

  private:
    std::wstring exeName_;
    std::wstring folder_;
};

struct Expected
{
    const char* what;
    std::wstring program;
    int show;
    std::wstring arguments;
};

void ExpectLaunch(const Launch& actual, const Expected& expected)
{
    EXPECT_EQ(actual.program, expected.program) << expected.what;
    EXPECT_EQ(actual.show, expected.show) << expected.what;
    EXPECT_EQ(actual.arguments, expected.arguments) << expected.what;
}

void CommandsAndLabelLaunchTheirPages(const std::wstring& site)
{
    ScratchProgram scratch;
    ShellRecorder recorder(scratch.folder());
    RunningProgram program(L"", L"", scratch.exe());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog";
    HWND label = GetDlgItem(dialog, IDC_LINK);
    EXPECT_EQ(TextOf(label), site);

    const std::wstring product = L"\"" + site + kProductQuery + L"\"";
    const std::wstring donation = L"\"" + site + kDonationQuery + L"\"";
    const struct
    {
        int command; // 0: a click on the link label
        Expected expected;
    } steps[] = {
        {IDM_HOMEPAGE, {"Homepage", L"browser.exe", SW_SHOW, product}},
        {IDM_PRODUCT_PAGE, {"product page", L"browser.exe", SW_SHOW, product}},
        {IDM_DONATE, {"Donate", L"browser.exe", SW_SHOW, donation}},
        {0, {"link label click", L"browser.exe", SW_SHOWNORMAL, product}},
        {IDM_USER_ACCOUNTS, {"user accounts", L"control.exe", SW_SHOW, L"userpasswords2"}},
        {IDM_SCREEN_SAVER, {"screen saver", L"control.exe", SW_SHOW, L"desk.cpl ,1"}},
        {IDM_POWER_OPTIONS, {"power options", L"control.exe", SW_SHOW, L"powercfg.cpl"}},
        {IDM_DYNAMIC_LOCK,
         {"dynamic lock", L"explorer.exe", SW_SHOW, L"ms-settings:signinoptions-dynamiclock"}},
    };
    size_t count = 0;
    for (const auto& step : steps)
    {
        // The label must take a click of the real mouse itself (it answers HTCLIENT).
        if (step.command == 0)
            ASSERT_TRUE(ClickCentreOf(label)) << GetLastError();
        else
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.command, 0), 0);
        const std::vector<Launch> launches = recorder.WaitForLaunches(++count);
        ASSERT_EQ(launches.size(), count)
            << step.expected.what << " started " << launches.size() + 1 - count << " programs";
        ExpectLaunch(launches.back(), step.expected);
    }
    ASSERT_TRUE(program.Running()) << "a command ended the program";
    EXPECT_TRUE(IsWindowVisible(dialog));
    PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
}

// Tarvelin runs elevated from wherever it was saved: the settings pages start the system's
// own control.exe and explorer.exe, never programs of those names planted beside it or in the
// folder it was started from (which a bare name would find first).
void SettingsPagesStartOnlyTheSystemsPrograms()
{
    ScratchProgram scratch;
    ScratchProgram current(L"current", false);
    ShellRecorder recorder(scratch.folder());
    recorder.Plant(scratch.folder());
    recorder.Plant(current.folder());
    RunningProgram program(L"", L"", scratch.exe(), current.folder());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog";

    const struct
    {
        int command;
        std::wstring path;
        std::wstring arguments;
    } pages[] = {
        {IDM_USER_ACCOUNTS, SystemControlPath(), L"userpasswords2"},
        {IDM_SCREEN_SAVER, SystemControlPath(), L"desk.cpl ,1"},
        {IDM_POWER_OPTIONS, SystemControlPath(), L"powercfg.cpl"},
        {IDM_DYNAMIC_LOCK, SystemExplorerPath(), L"ms-settings:signinoptions-dynamiclock"},
    };
    size_t count = 0;
    for (const auto& page : pages)
    {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(page.command, 0), 0);
        const std::vector<Launch> launches = recorder.WaitForLaunches(++count);
        ASSERT_EQ(launches.size(), count) << page.command << " started another program as well";
        EXPECT_EQ(launches.back().path, page.path) << page.command;
        EXPECT_EQ(launches.back().arguments, page.arguments) << page.command;
        EXPECT_EQ(launches.back().show, SW_SHOW) << page.command;
    }
    PostMessageW(GetDlgItem(dialog, IDC_ESC), BM_CLICK, 0, 0);
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
}

// The visible popup menu window of a process, waiting up to timeoutMs; null if none.
HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs = 10000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50)
    {
        if (HWND popup = FindTopLevelOf(processId, L"#32768"))
            return popup;
        Sleep(50);
    }
    return nullptr;
}

void AltPThenLastEntryExits()
{
    ScratchProgram scratch;
    ShellRecorder recorder(scratch.folder());
    RunningProgram program(L"", L"", scratch.exe());
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog";

    // What Alt+P sends; posted, since the menu runs its own loop inside the program.
    PostMessageW(dialog, WM_SYSCOMMAND, SC_KEYMENU, 'p');
    ASSERT_NE(WaitForPopupMenu(program.processId()), nullptr) << "Alt+P opened no popup";
    // The menu loop reads the thread's keys: up from the first entry wraps to the last.
    PostMessageW(dialog, WM_KEYDOWN, VK_UP, 0x01480001);
    PostMessageW(dialog, WM_KEYUP, VK_UP, static_cast<LPARAM>(0xC1480001u));
    PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(dialog, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));

    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the last Program entry did not end it";
    EXPECT_EQ(exitCode, 0u);
    // The Program popup it was: the last entry of the System popup would have started one.
    Sleep(300);
    EXPECT_TRUE(recorder.WaitForLaunches(0).empty()) << "a page was opened";
}
} // namespace

TEST(Links, EnglishCommandsAndLabelLaunchTheirPages)
{
    CommandsAndLabelLaunchTheirPages(kSiteEnglish);
}

TEST(GermanLinks, GermanCommandsAndLabelLaunchTheirPages)
{
    CommandsAndLabelLaunchTheirPages(kSiteGerman);
}

TEST(SystemPages, StartTheSystemsControlAndExplorerNeverPlantedOnes)
{
    SettingsPagesStartOnlyTheSystemsPrograms();
}

TEST(ProgramMenu, AltPThenExitEndsWithZero)
{
    AltPThenLastEntryExits();
}

TEST(GermanProgramMenu, AltPThenBeendenEndsWithZero)
{
    AltPThenLastEntryExits();
}

// A netapi32.dll planted beside a copy of tarvelin-cli, say in Downloads, never runs (it would
// say so on standard error): netapi32 is loaded from the system folder only. The account is
// local, so that the account check really loads netapi32, and a name Wine does not know shows
// that the system's netapi32 answered.
TEST(CliPlantedDll, NeverRunsBesideTheConsoleProgram)
{
    // Wine looks beside the program first only for a DLL overridden "n,b", as Windows does for
    // any DLL that is no KnownDLL: this test's ctest entry sets that.
    wchar_t overrides[256] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, ARRAYSIZE(overrides));
    ASSERT_TRUE(GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") == nullptr ||
                wcsstr(overrides, L"netapi32=n,b") != nullptr)
        << "WINEDLLOVERRIDES lacks netapi32=n,b";

    const std::wstring cli = CliPath();
    ScratchProgram scratch(L"plant", true, cli);
    const std::wstring plant =
        cli.substr(0, cli.rfind(L'\\')) + L"\\tests\\win32\\tarvelin_plant.dll";
    ASSERT_TRUE(CopyFileW(plant.c_str(), (scratch.folder() + L"netapi32.dll").c_str(), FALSE))
        << GetLastError();
    StatusKeys keys;
    const struct
    {
        std::wstring user;
        std::string problems;
    } cases[] = {{ThisUser(), "\"no-password\""},
                 {L"nobody-here", "\"no-password\",\"unknown-user\""}};
    for (const auto& c : cases)
    {
        keys.Hold(OnAs(ThisComputer(), c.user));
        const CliResult result = RunCli(L"status --json", "", scratch.exe());
        EXPECT_EQ(result.err, "") << Ascii(c.user);
        EXPECT_TRUE(Contains(result.out, "\"problems\":[" + c.problems + "]")) << result.out;
    }
}
