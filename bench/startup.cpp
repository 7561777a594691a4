// Start-up benchmark: starts tavrel.exe repeatedly and measures the time from process
// creation until its main window is visible, and the working set once it is up.
//   bench_startup.exe <program> [runs] [window class]
//   bench_startup.exe --plain-window
// The program is closed after each run, so that every start is a first instance. The
// second form is a baseline: the smallest GUI program, one plain window, so that what the
// platform itself costs (under Wine, a good part of the working set) can be told apart.

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

constexpr const wchar_t* plainClass = L"Tavrel.Bench.Plain";

int runPlainWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    };
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = plainClass;
    RegisterClassExW(&windowClass);
    const HWND window = CreateWindowExW(0, plainClass, L"Plain", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                        1100, 760, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}

HWND visibleWindow(const wchar_t* className, DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

Sample measure(const std::wstring& exe, const std::wstring& arguments, const wchar_t* className) {
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    const tavrel::UniqueHandle process =
        tavrel::startProcess(exe, arguments, std::filesystem::path(exe).parent_path().wstring(), false);
    const DWORD processId = GetProcessId(process.get());

    HWND window = nullptr;
    for (;;) {
        window = visibleWindow(className, processId);
        QueryPerformanceCounter(&now);
        if (window) break;
        if (WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) throw tavrel::Error(L"the program exited early");
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
        std::fputs("usage: bench_startup <program> [runs] [window class] | --plain-window\n", stderr);
        return 2;
    }
    const std::wstring program = argv[1];
    if (program == L"--plain-window") return runPlainWindow();
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 20;
    const wchar_t* className = argc > 3 ? argv[3] : L"Tavrel.Main.v1";
    const bool plain = std::wstring(className) == plainClass;
    try {
        std::vector<double> times, sets;
        for (int i = 0; i < runs; ++i) {
            const Sample sample = measure(program, plain ? L"--plain-window" : L"", className);
            times.push_back(sample.startMs);
            sets.push_back(sample.workingSetMiB);
        }
        const auto [fastest, slowest] = std::minmax_element(times.begin(), times.end());
        const char* what = plain ? "plain window (baseline)" : "tavrel.exe";
        std::printf("%s: start to visible window: median %.1f ms (min %.1f, max %.1f, %d runs)\n", what,
                    median(times), *fastest, *slowest, runs);
        std::printf("%s: working set after start: median %.1f MiB\n", what, median(sets));
        return 0;
    } catch (const tavrel::Error& error) {
        std::fprintf(stderr, "bench_startup: %ls\n", error.message().c_str());
        return 1;
    }
}
