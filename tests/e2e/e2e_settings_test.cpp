// The settings file as the running program keeps it: command messages 5001-5064 from another
// program store Time in Tarvelin.ini beside the exe or in the per-user folder.
#include <gtest/gtest.h>

#include <string>

#include "../win32/settings_test_util.h"
#include "driver.h"

namespace
{
const std::wstring kLongPrefix = L"\\\\?\\";

// Registered before main runs; GoogleTest owns and deletes it.
[[maybe_unused]] const ::testing::Environment* const kCleanup =
    ::testing::AddGlobalTestEnvironment(new PerUserFoldersCleanup);

std::wstring MakerFolder()
{
    return RoamingAppData() + L"\\Vestrakona";
}

std::wstring UserFolder()
{
    return MakerFolder() + L"\\Tarvelin";
}

std::wstring UserFile()
{
    return UserFolder() + L"\\Tarvelin.ini";
}

// Removes the per-user file and, when nothing else is in them, its folders.
void RemoveUserFiles()
{
    RemoveFile(UserFile());
    RemoveDirectoryW(UserFolder().c_str());
    RemoveDirectoryW(MakerFolder().c_str());
}

// Removes a folder and everything in it; long paths included.
void RemoveTree(const std::wstring& folder)
{
    const std::wstring base = folder.rfind(kLongPrefix, 0) == 0 ? folder : kLongPrefix + folder;
    WIN32_FIND_DATAW entry = {};
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = base + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                RemoveFile(path);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
}

// A folder of the test's own under %TEMP%, removed with everything in it.
class ScratchFolder
{
  public:
    ScratchFolder()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ =
            std::wstring(temp) + L"tarvelin-e2e-settings-" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(path_);
        EXPECT_TRUE(CreateDirectoryW(path_.c_str(), nullptr)) << GetLastError();
    }
    ~ScratchFolder() { RemoveTree(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& path() const { return path_; }

  private:
    std::wstring path_;
};

// A copy of the built program in `folder`; its path.
std::wstring CopyProgramTo(const std::wstring& folder)
{
    std::wstring copy = folder + L"\\Tarvelin.exe";
    EXPECT_TRUE(
        CopyFileW((kLongPrefix + TarvelinPath()).c_str(), (kLongPrefix + copy).c_str(), FALSE))
        << "copy failed with " << GetLastError();
    return copy;
}

// Sends a command as another program would; returns once the dialog has handled it.
void SendCommand(HWND dialog, int id)
{
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_ABORTIFHUNG,
                                  5000, &result),
              0)
        << "command " << id << " was not handled within 5 s";
}

// Waits until the file's Time line reads `expected`; returns the last line seen.
std::string WaitForTimeLine(const std::wstring& file, const std::string& expected)
{
    std::string line;
    for (int waited = 0; waited <= 5000; waited += 50)
    {
        line = KeyLine(file, "Time");
        if (line == expected)
            break;
        Sleep(50);
    }
    return line;
}

void EndWithEsc(RunningProgram& program, HWND dialog)
{
    PostMessageW(GetDlgItem(dialog, 1030), BM_CLICK, 0, 0);
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end after Esc";
    EXPECT_EQ(exitCode, 0u);
}
} // namespace

TEST(SettingsFile, TimeCommandsStoreInThePerUserFile)
{
    const std::wstring exe = TarvelinPath();
    const std::wstring beside = exe.substr(0, exe.rfind(L'\\')) + L"\\Tarvelin.ini";
    ASSERT_FALSE(IsFile(beside) || IsFolder(beside)) << "leftover beside the built program";
    RemoveUserFiles();

    RunningProgram program;
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog titled \"Tarvelin 1.01 - x64\"";
    // The folders come with the dialog, the file only with the first stored value.
    EXPECT_TRUE(IsFolder(UserFolder()));
    EXPECT_FALSE(IsFile(UserFile()));

    SendCommand(dialog, 5000);
    SendCommand(dialog, 5065);
    EXPECT_FALSE(IsFile(UserFile())) << "stored: " << KeyLine(UserFile(), "Time");

    SendCommand(dialog, 5001);
    EXPECT_EQ(WaitForTimeLine(UserFile(), "Time=1"), "Time=1");
    SendCommand(dialog, 5065);
    SendCommand(dialog, 5064);
    EXPECT_EQ(WaitForTimeLine(UserFile(), "Time=64"), "Time=64");
    SendCommand(dialog, 5000);
    EXPECT_EQ(KeyLine(UserFile(), "Time"), "Time=64");
    EXPECT_NE(ReadWholeFile(UserFile()).find("[Program]"), std::string::npos);

    EndWithEsc(program, dialog);
    RemoveUserFiles();
}

TEST(SettingsFile, AFileBesideTheExeIsWrittenInstead)
{
    RemoveUserFiles();
    const bool userFolderGone = !IsFolder(UserFolder());
    ScratchFolder scratch;
    const std::wstring exe = CopyProgramTo(scratch.path());
    const std::wstring beside = scratch.path() + L"\\Tarvelin.ini";
    ASSERT_TRUE(WriteWholeFile(beside, ""));
    // Hidden makes no difference.
    ASSERT_TRUE(SetFileAttributesW(beside.c_str(), FILE_ATTRIBUTE_HIDDEN));

    RunningProgram program(L"", L"", exe);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog from the copy in the scratch folder";
    SendCommand(dialog, 5001);
    EXPECT_EQ(WaitForTimeLine(beside, "Time=1"), "Time=1");
    SendCommand(dialog, 5064);
    EXPECT_EQ(WaitForTimeLine(beside, "Time=64"), "Time=64");
    EXPECT_FALSE(IsFile(UserFile()));
    if (userFolderGone)
    {
        EXPECT_FALSE(IsFolder(UserFolder())) << "the per-user folder was made all the same";
    }

    EndWithEsc(program, dialog);
    RemoveUserFiles();
}

TEST(SettingsFile, AFolderBesideTheExeLeadsToThePerUserFile)
{
    RemoveUserFiles();
    ScratchFolder scratch;
    const std::wstring exe = CopyProgramTo(scratch.path());
    const std::wstring beside = scratch.path() + L"\\Tarvelin.ini";
    ASSERT_TRUE(CreateDirectoryW(beside.c_str(), nullptr)) << GetLastError();

    RunningProgram program(L"", L"", exe);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog from the copy in the scratch folder";
    SendCommand(dialog, 5033);
    EXPECT_EQ(WaitForTimeLine(UserFile(), "Time=33"), "Time=33");
    EXPECT_TRUE(IsFolder(beside));

    EndWithEsc(program, dialog);
    RemoveUserFiles();
}

// A program whose own path fits in MAX_PATH but whose settings file beside it would not: the
// profile functions fail for such paths, so a file there could never be read or written, and
// the per-user file is used instead. (Wine cannot start a program from a path of MAX_PATH or
// more, so the short name T.exe makes the case.)
TEST(SettingsFile, ASettingsPathTooLongBesideTheExeGivesWayToThePerUserFile)
{
    RemoveUserFiles();
    ScratchFolder scratch;
    std::wstring folder = scratch.path();
    while (folder.size() < 200)
    {
        folder += L"\\level-abcdefghijklmnopqrstuvwxyz";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
    }
    // Exactly 250 characters: "\T.exe" stays below MAX_PATH, "\Tarvelin.ini" does not.
    folder += L"\\" + std::wstring(249 - folder.size(), L'x');
    ASSERT_EQ(folder.size(), 250u);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << GetLastError();
    const std::wstring exe = folder + L"\\T.exe";
    ASSERT_TRUE(CopyFileW(TarvelinPath().c_str(), exe.c_str(), FALSE)) << GetLastError();
    const std::string decoy = "[Program]\r\nTime=3\r\n";
    const std::wstring beside = kLongPrefix + folder + L"\\Tarvelin.ini";
    ASSERT_TRUE(WriteWholeFile(beside, decoy));

    RunningProgram program(L"", L"", exe);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "no visible dialog from " << exe.size() << " characters deep";
    SendCommand(dialog, 5007);
    EXPECT_EQ(WaitForTimeLine(UserFile(), "Time=7"), "Time=7");
    EXPECT_EQ(ReadWholeFile(beside), decoy);

    EndWithEsc(program, dialog);
    RemoveUserFiles();
}
