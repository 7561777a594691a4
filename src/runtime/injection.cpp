// Everything the runtime types, presses or clicks: the key, text and click actions on the
// executor thread, and the Windows-key forwarding on the hook thread.

#include "runtime/runtime.h"

#include "app/messages.h"
#include "model/keys.h"
#include "runtime/input_events.h"
#include "sys/error.h"
#include "targeting/click_point.h"

#include <chrono>
#include <string>

namespace tavrel {

namespace {

constexpr auto releasePollInterval = std::chrono::milliseconds(50);

bool isWindowsKeyDown(const ForwardedEvent& entry) {
    return entry.down && modifierOfKey(entry.key) == modWin;
}

}  // namespace

bool Runtime::waitForInputRelease(const Trigger* key, std::uint64_t generation) {
    std::unique_lock lock(inputLock_);
    const bool watchKey = key && isSupportedKey(*key);
    const auto held = [&] {
        return engine_.currentModifiers() != 0 || (watchKey && engine_.isDown(keyId(*key)));
    };
    const bool waited = held();
    if (waited) {
        setStatus(L"Waiting for input release");
        while (!isCanceled(generation) && held()) inputChanged_.wait_for(lock, releasePollInterval);
    }
    if (isCanceled(generation)) throw Canceled{};
    return waited;
}

void Runtime::sendInputs(std::span<INPUT> events, std::uint64_t generation) {
    if (isCanceled(generation)) throw Canceled{};
    const UINT accepted = sink_->send(events);
    if (accepted >= events.size()) return;
    const DWORD error = GetLastError();
    if (accepted > 0) {
        std::vector<INPUT> release = releaseEvents(events.first(accepted));
        if (!release.empty()) sink_->send(release);
    }
    throw Error(L"SendInput accepted " + std::to_wstring(accepted) + L"/" + std::to_wstring(events.size()) +
                L" events. A higher-privilege target is one possible cause. " + systemText(error));
}

void Runtime::pressKeys(const Trigger& key, std::uint64_t generation) {
    waitForInputRelease(&key, generation);
    std::vector<INPUT> events = keyPressEvents(key);
    sendInputs(events, generation);
}

void Runtime::insertText(const std::wstring& text, std::uint64_t generation) {
    waitForInputRelease(nullptr, generation);
    const HWND target = GetForegroundWindow();
    const std::wstring_view all(text);
    for (std::size_t start = 0; start < all.size();) {
        const std::size_t end = textChunkEnd(all, start);
        // Before the first chunk the target was read a moment ago, unless the user pressed
        // a modifier since: only then can another window be in front already.
        const bool waited = waitForInputRelease(nullptr, generation);
        if ((start > 0 || waited) && GetForegroundWindow() != target)
            throw Error(lookupCopy(L"The active window changed while inserting text."));
        std::vector<INPUT> events = textEvents(all.substr(start, end - start));
        sendInputs(events, generation);
        start = end;
    }
}

void Runtime::click(const Action& action, std::uint64_t generation) {
    const Trigger button{.code = static_cast<std::uint32_t>(action.button), .extended = false, .mouse = true,
                         .modifiers = 0};
    const auto check = [this, generation] {
        if (isCanceled(generation)) throw Canceled{};
    };
    waitForInputRelease(&button, generation);
    for (std::int32_t i = 0; i < action.count; ++i) {
        waitForInputRelease(&button, generation);
        const POINT point = clickPoint(action, true, check);
        const POINT absolute =
            absoluteMousePoint(point, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                               GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
        std::vector<INPUT> events = clickEvents(button.code, absolute);
        sendInputs(events, generation);
        if (i + 1 < action.count) {
            const UINT doubleClick = GetDoubleClickTime();
            if (!waitFor(doubleClick < 8 ? 1 : doubleClick / 4, generation)) throw Canceled{};
        }
    }
}

void Runtime::forwardWinKeys(const WinDecision& decision, const KBDLLHOOKSTRUCT* keyboard) {
    if (decision.maskStart) {
        INPUT mask[] = {maskKeyEvent(false), maskKeyEvent(true)};
        sink_->send(mask);
    }
    if (decision.eventCount == 0) return;
    ForwardedInputs forwarded = forwardedEvents(decision, keyboard);
    const UINT accepted = sink_->send(forwarded.span());
    if (accepted >= forwarded.count) return;
    const DWORD error = GetLastError();
    // A Windows key the system never saw go down must not reach it going up.
    for (std::size_t i = accepted; i < decision.eventCount; ++i)
        if (isWindowsKeyDown(decision.events[i])) engine_.winKeyNotSent(decision.events[i].key);
    if (accepted > 0) {
        INPUT cleanup[3] = {maskKeyEvent(false), maskKeyEvent(true)};
        std::size_t count = 2;
        const bool loneTap = decision.eventCount == 2 && !decision.events[1].down;
        if (loneTap) cleanup[count++] = forwarded.events[1];
        sink_->send(std::span<INPUT>(cleanup, count));
    }
    report(L"Could not forward the Windows-key combination.",
           L"SendInput accepted " + std::to_wstring(accepted) + L"/" + std::to_wstring(forwarded.count) +
               L" events. " + systemText(error));
}

}  // namespace tavrel
