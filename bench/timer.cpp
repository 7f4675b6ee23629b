// Measures, under Wine, how long a program takes until its dialog is visible and its peak
// working set once the dialog is up. Runs the floor and Tarvelin alternately so that both
// see the same machine state, and prints medians and ratios.
//   bench_timer.exe FLOOR.exe TARVELIN.exe [pairs]
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
    if (argc < 3)
    {
        fwprintf(stderr, L"usage: bench_timer FLOOR.exe TARVELIN.exe [pairs]\n");
        return 2;
    }
    const std::wstring floor = argv[1], tarvelin = argv[2];
    const int pairs = argc > 3 ? std::max(15, _wtoi(argv[3])) : 31;

    Sample sample{};
    for (int i = 0; i < 3; ++i) // warm-up: the file cache and Wine's own DLLs
    {
        if (!Measure(floor, sample) || !Measure(tarvelin, sample))
            return 1;
    }
    std::vector<double> floorMs, floorKiB, tarvelinMs, tarvelinKiB;
    for (int i = 0; i < pairs; ++i)
    {
        // A B, then B A: whichever runs second would otherwise always meet the first one's
        // clean-up in the Wine server.
        for (int turn = 0; turn < 2; ++turn)
        {
            const bool floorNow = (turn == 0) == (i % 2 == 0);
            Sleep(100);
            if (!Measure(floorNow ? floor : tarvelin, sample))
                return 1;
            (floorNow ? floorMs : tarvelinMs).push_back(sample.startupMs);
            (floorNow ? floorKiB : tarvelinKiB).push_back(sample.peakKiB);
        }
    }
    const double fMs = Median(floorMs), tMs = Median(tarvelinMs);
    const double fKiB = Median(floorKiB), tKiB = Median(tarvelinKiB);
    const long long fSize = FileSize(floor), tSize = FileSize(tarvelin);
    wprintf(L"pairs (A B, B A, ... after 3 warm-up pairs): %d\n", pairs);
    wprintf(L"start-up to visible dialog, median: floor %.1f ms, Tarvelin %.1f ms, ratio %.3f\n",
            fMs, tMs, tMs / fMs);
    wprintf(L"peak working set, median:           floor %.0f KiB, Tarvelin %.0f KiB, ratio %.3f\n",
            fKiB, tKiB, tKiB / fKiB);
    wprintf(
        L"file size:                          floor %lld bytes, Tarvelin %lld bytes (%.1f KiB)\n",
        fSize, tSize, static_cast<double>(tSize) / 1024.0);
    return 0;
}
