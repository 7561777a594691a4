// probe.exe plain-hook: a WH_KEYBOARD_LL hook whose procedure only calls CallNextHookEx.
// The system calls a low-level hook on the installing thread's message loop for every key
// event, physical or injected, and the event waits for the answer; what that costs with
// this empty procedure is the floor under any program's keyboard hook.

#include "plain_hook.h"

#include "sys/error.h"
#include "sys/windows_hook.h"

#include <windows.h>

#include <thread>

namespace tavrel::probe {

namespace {

LRESULT CALLBACK passOn(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void print(const char* line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, lstrlenA(line), &written, nullptr);
}

}  // namespace

int runPlainHook() {
    const WindowsHook hook(SetWindowsHookExW(WH_KEYBOARD_LL, passOn, GetModuleHandleW(nullptr), 0));
    if (!hook) throw Error(L"Install the plain keyboard hook", systemText(GetLastError()));
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts to it
    const DWORD thread = GetCurrentThreadId();
    std::thread([thread] {
        char buffer[64];
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read != 0) {
        }
        PostThreadMessageW(thread, WM_QUIT, 0, 0);
    }).detach();
    print("ready\n");
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

}  // namespace tavrel::probe
