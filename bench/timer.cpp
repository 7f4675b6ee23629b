// Measures, under Wine, how long a program takes until its dialog is visible and its peak
// working set once the dialog is up. Runs the floor and Tarvelin alternately so that both
// see the same machine state, and prints medians and ratios.
//   bench_timer.exe FLOOR.exe TARVELIN.exe [pairs]
// With --console, how long a console program runs from start to exit instead, its output
// thrown away: the console floor against `tarvelin-cli status`.
//   bench_timer.exe --console FLOOR.exe TARVELIN-CLI.exe [pairs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
struct Sample
{
    double startupMs;
    double peakKiB;
};

struct Search
{
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleDialog(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (pid == search->processId && IsWindowVisible(hwnd) && wcscmp(cls, L"#32770") == 0)
    {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

bool Measure(const std::wstring& exe, Sample& sample)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + exe + L"\"";
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
    {
        fwprintf(stderr, L"cannot start %ls: %lu\n", exe.c_str(), GetLastError());
        return false;
    }
    Search search{info.dwProcessId, nullptr};
    for (int i = 0; i < 20000 && search.found == nullptr; ++i)
    {
        EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(1);
    }
    QueryPerformanceCounter(&now);
    bool ok = search.found != nullptr;
    if (ok)
    {
        sample.startupMs = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
        Sleep(300); // let the first paint settle before reading the peak
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        ok = GetProcessMemoryInfo(info.hProcess, &counters, sizeof counters) != FALSE;
        sample.peakKiB = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0)
    {
        TerminateProcess(info.hProcess, 1);
        ok = false;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ok;
}

// From CreateProcess until the process has ended, standard output and error to NUL.
bool MeasureRun(const std::wstring& exe, const wchar_t* arguments, Sample& sample)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE null =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null;
    startup.hStdOutput = null;
    startup.hStdError = null;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const BOOL started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    CloseHandle(null);
    if (!started)
    {
        fwprintf(stderr, L"cannot start %ls: %lu\n", exe.c_str(), GetLastError());
        return false;
    }
    const bool ended = WaitForSingleObject(info.hProcess, 10000) == WAIT_OBJECT_0;
    QueryPerformanceCounter(&now);
    if (!ended)
        TerminateProcess(info.hProcess, 1);
    sample.startupMs = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                       static_cast<double>(frequency.QuadPart);
    sample.peakKiB = 0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ended;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool console = argc > 1 && wcscmp(argv[1], L"--console") == 0;
    if (console)
    {
        --argc;
        ++argv;
    }
    if (argc < 3)
    {
        fwprintf(stderr, L"usage: bench_timer [--console] FLOOR.exe PROGRAM.exe [pairs]\n");
        return 2;
    }
    const std::wstring floor = argv[1], program = argv[2];
    const int pairs = argc > 3 ? std::max(15, _wtoi(argv[3])) : 31;
    // The console program runs `status`: the command a detection script runs most.
    const auto measure = [console](const std::wstring& exe, bool isFloor, Sample& sample) {
        return console ? MeasureRun(exe, isFloor ? L"" : L"status", sample) : Measure(exe, sample);
    };

    Sample sample{};
    for (int i = 0; i < 3; ++i) // warm-up: the file cache and Wine's own DLLs
    {
        if (!measure(floor, true, sample) || !measure(program, false, sample))
            return 1;
    }
    std::vector<double> floorMs, floorKiB, programMs, programKiB;
    for (int i = 0; i < pairs; ++i)
    {
        // A B, then B A: whichever runs second would otherwise always meet the first one's
        // clean-up in the Wine server.
        for (int turn = 0; turn < 2; ++turn)
        {
            const bool floorNow = (turn == 0) == (i % 2 == 0);
            Sleep(100);
            if (!measure(floorNow ? floor : program, floorNow, sample))
                return 1;
            (floorNow ? floorMs : programMs).push_back(sample.startupMs);
            (floorNow ? floorKiB : programKiB).push_back(sample.peakKiB);
        }
    }
    const double fMs = Median(floorMs), pMs = Median(programMs);
    const double fKiB = Median(floorKiB), pKiB = Median(programKiB);
    const long long fSize = FileSize(floor), pSize = FileSize(program);
    const wchar_t* name = console ? L"tarvelin-cli status" : L"Tarvelin";
    wprintf(L"pairs (A B, B A, ... after 3 warm-up pairs): %d\n", pairs);
    wprintf(console
                ? L"start to exit, median:              floor %.1f ms, %ls %.1f ms, ratio %.3f\n"
                : L"start-up to visible dialog, median: floor %.1f ms, %ls %.1f ms, ratio %.3f\n",
            fMs, name, pMs, pMs / fMs);
    // An ended process has no working set left to read under Wine.
    if (!console)
        wprintf(L"peak working set, median:           floor %.0f KiB, %ls %.0f KiB, ratio %.3f\n",
                fKiB, name, pKiB, pKiB / fKiB);
    wprintf(L"file size:                          floor %lld bytes, %ls %lld bytes (%.1f KiB)\n",
            fSize, name, pSize, static_cast<double>(pSize) / 1024.0);
    return 0;
}
