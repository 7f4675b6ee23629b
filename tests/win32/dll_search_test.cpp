// Loading DLLs by bare name after either program's start-up: only the system folder counts,
// not the program's folder nor the current one. The step holds for the whole process and
// cannot be undone, so it runs in a child process (a death test), away from the other tests
// of this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dll_search.h"
#include "writer_fixture.h"

// The console program's entry (cli/main.cpp), linked into this test program.
int wmain(int argc, wchar_t** argv);

namespace
{
// Built beside this test program; a copy under a second name goes into a scratch folder that
// is made the current folder. A module already loaded is found by name wherever it came from,
// so the two are only loaded in the child, after the step, and in this process afterwards.
const wchar_t kBesideExe[] = L"tarvelin_plant.dll";
const wchar_t kInCurrent[] = L"tarvelin_plant_here.dll";
// A system DLL that this program does not load by itself.
const wchar_t kSystemDll[] = L"mpr.dll";

std::wstring FolderOf(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.rfind(L'\\'));
    return folder;
}

// The dialog's first step at start-up (its entry would go on to run the whole dialog).
int DialogStart()
{
    return RestrictDllSearchToSystem();
}

// The console program's entry, run to its end with a command that changes nothing.
int ConsoleStart()
{
    wchar_t program[] = L"tarvelin-cli";
    wchar_t version[] = L"--version";
    wchar_t* arguments[] = {program, version, nullptr};
    const StdFile out(STD_OUTPUT_HANDLE); // its version line stays out of the test's log
    return wmain(2, arguments);
}

// The child: starts, tries the three names and reports on standard error.
void LoadByNameAfter(int (*start)())
{
    std::fprintf(stderr, "start %d;", start());
    for (const wchar_t* plant : {kBesideExe, kInCurrent})
    {
        SetLastError(0xdeadbeef);
        HMODULE loaded = LoadLibraryW(plant);
        std::fprintf(stderr, " %ls %s %lu;", plant, loaded != nullptr ? "loaded" : "refused",
                     GetLastError());
    }
    HMODULE system = LoadLibraryW(kSystemDll);
    wchar_t systemFolder[MAX_PATH] = {};
    GetSystemDirectoryW(systemFolder, MAX_PATH);
    const bool fromSystem =
        system != nullptr && lstrcmpiW(FolderOf(system).c_str(), systemFolder) == 0;
    std::fprintf(stderr, " %ls %s\n", kSystemDll, fromSystem ? "from the system folder" : "not");
    std::fflush(stderr);
    ExitProcess(0);
}

// A scratch folder with the second plant, the current folder while it lives.
class CurrentFolderWithPlant
{
  public:
    CurrentFolderWithPlant()
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        GetCurrentDirectoryW(MAX_PATH, previous_);
        // A fixed name: the child runs this too and must find the same folder.
        folder_ = std::wstring(temp) + L"tarvelin-dll-search";
        CreateDirectoryW(folder_.c_str(), nullptr);
        const std::wstring plant = FolderOf(nullptr) + L"\\" + kBesideExe;
        EXPECT_TRUE(CopyFileW(plant.c_str(), (folder_ + L"\\" + kInCurrent).c_str(), FALSE))
            << "no plant: " << GetLastError();
        EXPECT_TRUE(SetCurrentDirectoryW(folder_.c_str())) << GetLastError();
    }
    ~CurrentFolderWithPlant()
    {
        SetCurrentDirectoryW(previous_);
        DeleteFileW((folder_ + L"\\" + kInCurrent).c_str());
        EXPECT_TRUE(RemoveDirectoryW(folder_.c_str())) << "scratch folder left: " << GetLastError();
    }
    CurrentFolderWithPlant(const CurrentFolderWithPlant&) = delete;
    CurrentFolderWithPlant& operator=(const CurrentFolderWithPlant&) = delete;

  private:
    wchar_t previous_[MAX_PATH] = {};
    std::wstring folder_;
};
} // namespace

TEST(DllSearch, AfterStartUpPlantedDllsDoNotLoadByNameSystemOnesDo)
{
    CurrentFolderWithPlant current;

    const struct
    {
        int (*start)();
        const char* result; // RestrictDllSearchToSystem's TRUE, the console program's exit 0
    } starts[] = {{DialogStart, "1"}, {ConsoleStart, "0"}};
    for (const auto& row : starts)
        EXPECT_EXIT(LoadByNameAfter(row.start), ::testing::ExitedWithCode(0),
                    std::string("^start ") + row.result +
                        "; tarvelin_plant.dll refused 126; tarvelin_plant_here.dll refused 126; "
                        "mpr.dll from the system folder\n$");

    // Without the step both plants load by name here: the places were ones a search finds.
    for (const wchar_t* plant : {kBesideExe, kInCurrent})
    {
        HMODULE loaded = LoadLibraryW(plant);
        EXPECT_NE(loaded, nullptr)
            << "the plant does not load even without the step: " << GetLastError();
        if (loaded != nullptr)
            FreeLibrary(loaded);
    }
}
