// The hook thread: low-level keyboard and mouse hooks, the desktop-switch event, the hold
// timer and the layout observation timer, all in one message loop.

#include "runtime/hook_procedures.h"
#include "runtime/runtime.h"

#include "app/window_messages.h"
#include "model/keys.h"
#include "runtime/input_marker.h"
#include "runtime/physical_key.h"
#include "sys/error.h"
#include "sys/windows_hook.h"

#include <exception>

namespace tavrel {

namespace {

// The hook procedures and the event callback get no context.
std::atomic<Runtime*> running{nullptr};

constexpr UINT observeIntervalMs = 100;

bool isOwnWindow(HWND window) {
    if (!window) return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

bool isPhysicallyDown(const Trigger& key) {
    if (key.mouse) {
        static constexpr int buttons[] = {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
        return key.code >= 1 && key.code <= 5 && GetAsyncKeyState(buttons[key.code - 1]) < 0;
    }
    const UINT vk = virtualKeyOf(key);
    return vk != 0 && GetAsyncKeyState(static_cast<int>(vk)) < 0;
}

void CALLBACK desktopSwitched(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    if (Runtime* runtime = running.load(); runtime && runtime->mainWindow())
        PostMessageW(runtime->mainWindow(), msgInputReset, 0, 0);
}

}  // namespace

struct HookProcedures {
    static bool keyboard(Runtime& runtime, WPARAM message, const KBDLLHOOKSTRUCT& event) {
        const Trigger key = keyboardEventKey(event.vkCode, event.scanCode, event.flags);
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        const std::uint64_t time = widenEventTime(GetTickCount64(), event.time);
        InputFacts facts;
        if (isSupportedKey(key)) {
            const HWND foreground = GetForegroundWindow();
            facts.ownProcessInFront = isOwnWindow(foreground);
            facts.mainWindowInFront = foreground != nullptr && foreground == runtime.mainWindow_;
            facts.foreground = foreground;
        }
        return apply(runtime, key, down, time, facts, &event);
    }

    static bool mouse(Runtime& runtime, WPARAM message, const MSLLHOOKSTRUCT& event, std::uint32_t button) {
        const Trigger key{.code = button, .extended = false, .mouse = true, .modifiers = 0};
        const std::uint64_t time = widenEventTime(GetTickCount64(), event.time);
        InputFacts facts;
        facts.mouse = true;
        // A click on one of our windows counts as our process being in front.
        const HWND foreground = GetForegroundWindow();
        facts.foreground = foreground;
        facts.ownProcessInFront = isOwnWindow(foreground) || isOwnWindow(WindowFromPoint(event.pt));
        facts.point = event.pt;
        return apply(runtime, key, isButtonDown(message), time, facts, nullptr);
    }

    static bool apply(Runtime& runtime, const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts,
                      const KBDLLHOOKSTRUCT* keyboard) {
        const std::lock_guard lock(runtime.inputLock_);
        const InputDecision decision = runtime.feedInputLocked(key, down, time, facts, keyboard);
        runtime.scheduleHoldTimer(runtime.engine_.holdDeadline());
        return decision.swallow();
    }
};

LRESULT CALLBACK keyboardHookProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        Runtime* runtime = running.load();
        if (runtime && (event.flags & LLKHF_INJECTED) == 0 && event.dwExtraInfo != injectedInputMarker &&
            HookProcedures::keyboard(*runtime, wParam, event))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK mouseHookProcedure(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto& event = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        Runtime* runtime = running.load();
        const std::uint32_t button = mouseEventButton(wParam, event.mouseData);
        if (runtime && button != 0 && (event.flags & LLMHF_INJECTED) == 0 &&
            event.dwExtraInfo != injectedInputMarker && HookProcedures::mouse(*runtime, wParam, event, button))
            return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Runtime::runHookThread(std::promise<DWORD>& installed) {
    hookThreadId_.store(GetCurrentThreadId());
    running.store(this);
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // own a queue before anyone posts
    {
        const std::lock_guard lock(inputLock_);
        engine_.syncPhysicalKeys(isPhysicallyDown);
    }
    DWORD result = 0;
    const auto install = [&result](int kind, HOOKPROC procedure) {
        const HHOOK hook = SetWindowsHookExW(kind, procedure, GetModuleHandleW(nullptr), 0);
        if (!hook && result == 0) {
            result = GetLastError();
            if (result == 0) result = ERROR_HOOK_NOT_INSTALLED;  // never report a failure as success
        }
        return WindowsHook(hook);
    };
    WindowsHook keyboardHook = install(WH_KEYBOARD_LL, keyboardHookProcedure);
    WindowsHook mouseHook = install(WH_MOUSE_LL, mouseHookProcedure);
    WinEventHook desktopHook(SetWinEventHook(EVENT_SYSTEM_DESKTOPSWITCH, EVENT_SYSTEM_DESKTOPSWITCH, nullptr,
                                             desktopSwitched, 0, 0, WINEVENT_OUTOFCONTEXT));
    observeTimer_.set(observeIntervalMs);
    installed.set_value(result);  // start() goes on from here; installed is gone afterwards

    if (result == 0) hookMessageLoop();

    holdTimer_.reset();
    observeTimer_.reset();
    keyboardHook.reset();
    mouseHook.reset();
    desktopHook.reset();
    Runtime* self = this;
    running.compare_exchange_strong(self, nullptr);
}

void Runtime::hookMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == WM_TIMER) {
            if (msg.wParam == observeTimer_.id()) {
                observeFromTimer();
            } else {
                onHoldTimer();
            }
        } else if (msg.hwnd == nullptr && msg.message == msgInputReset) {
            onInputReset();
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Runtime::onHoldTimer() {
    const std::lock_guard lock(inputLock_);
    engine_.onHoldTimer(GetTickCount64(), isOwnWindow(GetForegroundWindow()));
    scheduleHoldTimer(engine_.holdDeadline());
}

void Runtime::onInputReset() {
    const std::lock_guard lock(inputLock_);
    cancelQueued();
    engine_.resetInput(isPhysicallyDown);
    scheduleHoldTimer(engine_.holdDeadline());
    inputChanged_.notify_all();
}

void Runtime::scheduleHoldTimer(std::optional<std::uint64_t> deadline) {
    // Called on the hook thread only; every event and tick re-arms the timer.
    if (GetCurrentThreadId() != hookThreadId_.load()) return;
    holdTimer_.reset();
    if (!deadline) return;
    const std::uint64_t now = GetTickCount64();
    holdTimer_.set(*deadline > now ? static_cast<UINT>(*deadline - now) : 1);
}

void Runtime::observeFromTimer() {
    // Failures are reported once per run of consecutive failures.
    try {
        observeLayout();
        observationFailed_ = false;
    } catch (const Error& error) {
        if (!observationFailed_) report(error.message(), error.details());
        observationFailed_ = true;
    } catch (...) {
        if (!observationFailed_) report(L"Unexpected executor failure.", L"Background layout observation failed.");
        observationFailed_ = true;
    }
}

}  // namespace tavrel
