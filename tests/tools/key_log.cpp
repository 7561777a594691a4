// probe.exe key-log: a top-level window of its own class that takes the focus, prints
// "ready" and then one line per WM_CHAR it receives:
//   char XXXX TICKS       the UTF-16 unit in hex and QueryPerformanceCounter at its arrival
// Standard input takes one command per line:
//   time                  answers "time TICKS FREQUENCY TICK64" (counter, its frequency per
//                         second and GetTickCount64), read the moment the request is seen
//   focus                 brings the window to the front again and answers "focused"
//   send N                types N letters (a to z, over and over) into the window itself with
//                         Unicode SendInput batches of 32 units, as the text action does, and
//                         answers "sent ACCEPTED": the cost of injected text without the program
// The probe ends when standard input closes.
//
// Clocks. Under Wine 8 on Linux the performance counter runs at 10 MHz and counts the host's
// CLOCK_MONOTONIC_RAW in 100 ns units. Measured against Python's clock_gettime_ns taken on
// both sides of a "time" request (round trip about 25 us), counter x 100 ns minus the
// midpoint of CLOCK_MONOTONIC_RAW stayed within -4..+1 us over 40 s, while CLOCK_MONOTONIC
// was 198 ms away on the same machine (its distance to the raw clock grows as the host's time
// is slewed, so it differs from one machine and one hour to the next). GetTickCount64 is the
// raw clock in whole milliseconds but is updated coarsely: it lagged or led the raw clock by
// up to 11 ms. Arrival times therefore come from the counter, and the Python side compares
// them with CLOCK_MONOTONIC_RAW; it still measures the offset through "time" requests (the
// midpoint of the shortest round trip) before comparing, so a Wine that relates the clocks
// differently shows up as a different offset rather than as wrong latencies.
//
// Characters are kept in memory as they arrive and written out once the message queue is
// empty, so that writing to the pipe never delays the next message of a long burst.

#include "key_log.h"

#include "sys/error.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavrel::probe {

namespace {

constexpr wchar_t className[] = L"Tavrel.Probe.KeyLog";
constexpr wchar_t windowTitle[] = L"Tavrel key log";
constexpr UINT msgFocus = WM_APP + 1;

std::mutex outputLock;
std::string pending;  // char lines not yet written; only the window thread adds to it

void writeOut(const std::string& text) {
    const std::lock_guard lock(outputLock);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

long long counterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void bringToFront(HWND window) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR: {
        const long long ticks = counterNow();
        char line[48];
        std::snprintf(line, sizeof line, "char %04X %lld\n", static_cast<unsigned>(wParam & 0xFFFF), ticks);
        pending += line;
        return 0;
    }
    case msgFocus:
        bringToFront(window);
        writeOut("focused\n");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Owns the registration of the window class.
class WindowClass {
public:
    WindowClass() {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = windowProcedure;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        description.lpszClassName = className;
        if (!RegisterClassExW(&description)) throw Error(L"Register the key log class", systemText(GetLastError()));
    }
    ~WindowClass() { UnregisterClassW(className, GetModuleHandleW(nullptr)); }
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
};

// Owns the window.
class Window {
public:
    Window()
        : handle_(CreateWindowExW(0, className, windowTitle, WS_OVERLAPPEDWINDOW, 40, 40, 480, 240, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {
        if (!handle_) throw Error(L"Create the key log window", systemText(GetLastError()));
    }
    ~Window() {
        if (IsWindow(handle_)) DestroyWindow(handle_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND get() const noexcept { return handle_; }

private:
    HWND handle_;
};

// Sends count Unicode letters in batches of 32 units (64 events); returns how many events were accepted.
unsigned long long sendLetters(unsigned long long count) {
    unsigned long long accepted = 0;
    std::vector<INPUT> batch;
    for (unsigned long long sent = 0; sent < count;) {
        batch.clear();
        for (int i = 0; i < 32 && sent < count; ++i, ++sent) {
            for (const DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wScan = static_cast<WORD>(L'a' + sent % 26);
                input.ki.dwFlags = flags;
                batch.push_back(input);
            }
        }
        accepted += SendInput(static_cast<UINT>(batch.size()), batch.data(), sizeof(INPUT));
    }
    return accepted;
}

// Reads commands from standard input until it closes, then closes the window.
void serveCommands(HWND window) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] == '\r') continue;
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (line == "time") {
                const long long ticks = counterNow();
                LARGE_INTEGER frequency;
                QueryPerformanceFrequency(&frequency);
                const unsigned long long tick64 = GetTickCount64();
                char answer[96];
                std::snprintf(answer, sizeof answer, "time %lld %lld %llu\n", ticks, frequency.QuadPart, tick64);
                writeOut(answer);
            } else if (line == "focus") {
                PostMessageW(window, msgFocus, 0, 0);
            } else if (line.rfind("send ", 0) == 0) {
                const unsigned long long accepted = sendLetters(std::strtoull(line.c_str() + 5, nullptr, 10));
                writeOut("sent " + std::to_string(accepted) + "\n");
            }
            line.clear();
        }
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
}

}  // namespace

int runKeyLog() {
    const WindowClass windowClass;
    const Window window;
    bringToFront(window.get());
    writeOut("ready\n");
    std::thread commands(serveCommands, window.get());
    commands.detach();  // blocked in ReadFile until standard input closes; the process ends with it

    MSG message;
    for (;;) {
        if (!pending.empty() && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) {
            writeOut(pending);
            pending.clear();
        }
        const BOOL result = GetMessageW(&message, nullptr, 0, 0);
        if (result == 0 || result == -1) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (!pending.empty()) writeOut(pending);
    return 0;
}

}  // namespace tavrel::probe
