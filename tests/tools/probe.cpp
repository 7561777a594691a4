// A small Windows tool that end-to-end tests drive from Python. It looks at windows from
// the Windows side, where X tools cannot see their state.
//   probe.exe hold-instance-mutex    holds this user's instance mutex until standard input closes
//   probe.exe window-state CLASS     prints "count=N visible=V iconic=I foreground=F width=W height=H" for
//                                    the windows of CLASS (the size is the first one's, in pixels)
//   probe.exe minimize CLASS         minimises the first window of CLASS
//   probe.exe dialog-text TITLE      prints the static texts of the dialog box titled TITLE
//   probe.exe key-log                shows a focused window and prints each character it receives
//                                    with its arrival time (see key_log.cpp)
//   probe.exe plain-hook             holds a keyboard hook that only passes events on, until
//                                    standard input closes (see plain_hook.cpp)
// Output is UTF-8, one line per fact.

#include "app/instance.h"
#include "key_log.h"
#include "plain_hook.h"
#include "sys/error.h"

#include <windows.h>

#include <string>

namespace {

void print(const std::wstring& text) {
    const std::wstring line = text + L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void waitForInputToClose() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read != 0) {
    }
}

int windowState(const wchar_t* className) {
    int count = 0;
    bool visible = false, iconic = false, foreground = false;
    RECT bounds{};
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, className, nullptr)) != nullptr) {
        if (count++ == 0) GetWindowRect(window, &bounds);
        visible = visible || IsWindowVisible(window);
        iconic = iconic || IsIconic(window);
        foreground = foreground || GetForegroundWindow() == window;
    }
    print(L"count=" + std::to_wstring(count) + L" visible=" + std::to_wstring(visible) +
          L" iconic=" + std::to_wstring(iconic) + L" foreground=" + std::to_wstring(foreground) +
          L" width=" + std::to_wstring(bounds.right - bounds.left) +
          L" height=" + std::to_wstring(bounds.bottom - bounds.top));
    return 0;
}

int dialogText(const wchar_t* title) {
    const HWND dialog = FindWindowW(L"#32770", title);
    if (!dialog) return 1;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM) -> BOOL {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            if (lstrcmpiW(className, L"Static") == 0) {
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
                text.resize(static_cast<std::size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
                if (!text.empty()) print(text);
            }
            return TRUE;
        },
        0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    try {
        if (command == L"hold-instance-mutex") {
            const tavrel::InstanceMutex mutex =
                tavrel::createInstanceMutex(tavrel::instanceMutexName(tavrel::currentUserSid()));
            print(L"ready");
            waitForInputToClose();
            return 0;
        }
        if (command == L"window-state" && argc > 2) return windowState(argv[2]);
        if (command == L"minimize" && argc > 2) {
            const HWND window = FindWindowW(argv[2], nullptr);
            return window && ShowWindow(window, SW_MINIMIZE) >= 0 ? 0 : 1;
        }
        if (command == L"dialog-text" && argc > 2) return dialogText(argv[2]);
        if (command == L"key-log") return tavrel::probe::runKeyLog();
        if (command == L"plain-hook") return tavrel::probe::runPlainHook();
    } catch (const tavrel::Error& error) {
        print(L"probe: " + error.message());
        return 1;
    }
    print(L"usage: probe hold-instance-mutex | window-state CLASS | minimize CLASS | dialog-text TITLE | key-log | plain-hook");
    return 2;
}
