// Start-up benchmark: starts tavrel.exe repeatedly and measures the time from process
// creation until its main window is visible, and the working set once it is up.
//   bench_startup.exe <path of tavrel.exe> [runs]
// The program is closed after each run, so that every start is a first instance.

#include "sys/error.h"
#include "sys/process.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Sample {
    double startMs;
    double workingSetMiB;
};

HWND visibleMainWindow(DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"Tavrel.Main.v1", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

Sample measure(const std::wstring& exe) {
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const tavrel::UniqueHandle process =
        tavrel::startProcess(exe, L"", std::filesystem::path(exe).parent_path().wstring(), false);
    const DWORD processId = GetProcessId(process.get());

    HWND window = nullptr;
    for (;;) {
        window = visibleMainWindow(processId);
        QueryPerformanceCounter(&now);
        if (window) break;
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) throw tavrel::Error(L"tavrel.exe exited early");
        if (now.QuadPart - begin.QuadPart > frequency.QuadPart * 20) throw tavrel::Error(L"no window in 20 s");
        Sleep(1);
    }
    const double startMs = 1000.0 * static_cast<double>(now.QuadPart - begin.QuadPart) /
                           static_cast<double>(frequency.QuadPart);

    Sleep(500);  // let start-up settle before reading the working set
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process.get(), &counters, sizeof counters);

    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
    return {startMs, static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: bench_startup <tavrel.exe> [runs]\n", stderr);
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
    try {
        std::vector<double> times, sets;
        for (int i = 0; i < runs; ++i) {
            const Sample sample = measure(argv[1]);
            times.push_back(sample.startMs);
            sets.push_back(sample.workingSetMiB);
        }
        const auto [fastest, slowest] = std::minmax_element(times.begin(), times.end());
        std::printf("start to visible window: median %.1f ms (min %.1f, max %.1f, %d runs)\n", median(times),
                    *fastest, *slowest, runs);
        std::printf("working set after start: median %.1f MiB\n", median(sets));
        return 0;
    } catch (const tavrel::Error& error) {
        std::fprintf(stderr, "bench_startup: %ls\n", error.message().c_str());
        return 1;
    }
}
