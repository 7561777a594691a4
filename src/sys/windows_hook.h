#pragma once
// Owners of an installed hook: a SetWindowsHookExW hook and a SetWinEventHook hook.
// Both must be removed on the thread that installed them.

#include <windows.h>

#include <utility>

namespace tavrel {

class WindowsHook {
public:
    WindowsHook() noexcept = default;
    explicit WindowsHook(HHOOK hook) noexcept : hook_(hook) {}
    WindowsHook(WindowsHook&& other) noexcept : hook_(std::exchange(other.hook_, nullptr)) {}
    WindowsHook& operator=(WindowsHook&& other) noexcept {
        if (this != &other) reset(std::exchange(other.hook_, nullptr));
        return *this;
    }
    ~WindowsHook() { reset(); }

    explicit operator bool() const noexcept { return hook_ != nullptr; }
    void reset(HHOOK hook = nullptr) noexcept {
        if (hook_) UnhookWindowsHookEx(hook_);
        hook_ = hook;
    }

private:
    HHOOK hook_ = nullptr;
};

class WinEventHook {
public:
    WinEventHook() noexcept = default;
    explicit WinEventHook(HWINEVENTHOOK hook) noexcept : hook_(hook) {}
    WinEventHook(const WinEventHook&) = delete;
    WinEventHook& operator=(const WinEventHook&) = delete;
    ~WinEventHook() { reset(); }

    void reset() noexcept {
        if (hook_) UnhookWinEvent(hook_);
        hook_ = nullptr;
    }

private:
    HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace tavrel
