#pragma once
// Trigger recognition: from the facts of each key or button event to the decision whether
// it completes a binding's press or hold, and whether it is passed on or swallowed.
// Pure state, no Windows calls: the runtime holds its input lock around every call, and
// the hook procedures only gather the facts and apply the answer.

#include "model/bindings.h"
#include "model/records.h"
#include "runtime/job.h"
#include "runtime/win_decision.h"
#include "runtime/win_key_step.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tavrel {

// Per-key tables: 512 keyboard slots, then the mouse slots 512..517.
constexpr std::size_t keySlots = 518;

struct PendingTrigger {
    std::shared_ptr<const Binding> binding;  // empty: no binding recognised on this press
    std::uint64_t pressTime = 0;             // GetTickCount64 scale
    bool fired = false;                      // a run was queued for this press
    bool canceled = false;                   // this press can no longer queue anything
    std::uint64_t modifierStamp = 0;
};

// What the hook thread knows about an event besides its key, down flag and time.
struct InputFacts {
    bool mouse = false;
    bool ownProcessInFront = false;   // the foreground window (or, for a click, the window under it) is ours
    bool mainWindowInFront = false;   // keyboard only: the main window is the foreground window
    POINT point{};                    // mouse only: the event's screen point
    std::optional<HWND> foreground;   // the foreground window as the hook read it, when it did
};

// An editor records the next key, or picks a position with the next left click.
enum class CaptureMode : std::uint32_t { key = 0, point = 1 };

// A message the runtime posts once the input lock's work for an event is done.
struct PostedMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct InputDecision {
    WinDecision win;                  // win.swallow is the hook's answer
    bool postKeyFilter = false;       // tell the main window which keys are held
    std::uint32_t filterModifiers = 0;
    LPARAM filterKey = -1;            // KeyId of the last non-modifier key still held, or -1
    std::optional<PostedMessage> capturePost;  // a capture recorded something or ended

    bool swallow() const { return win.swallow; }
};

class TriggerEngine {
public:
    // Hands a recognised run to the queue; called with the input lock held.
    std::function<void(Job)> enqueue;
    // Ctrl+Alt+Backspace; called with the input lock held.
    std::function<void()> onStopAll;

    InputDecision processInput(const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts);

    // The hold timer's tick.
    void onHoldTimer(std::uint64_t now, bool ownProcessInFront);
    // Queues the hold runs whose threshold has passed at now.
    void fireDueHolds(std::uint64_t now);
    // The earliest hold deadline still waiting, if any.
    std::optional<std::uint64_t> holdDeadline() const;

    // A new snapshot; keys held across the change stay down and swallowed.
    void setBindings(RuntimeBindings bindings);
    bool winInvolved() const { return winInvolved_; }

    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }

    void clearPending();

    // Captures: while one runs no binding matches, and its result is posted to window.
    void beginCapture(HWND window, CaptureMode mode);
    // The capture's cancel message when one was running; the capture is over either way.
    std::optional<PostedMessage> cancelCapture();
    POINT capturedPoint() const { return capturedPoint_; }
    HWND captureWindow() const { return captureWindow_; }

    // Marks held-back Windows keys as used, so that their release replays nothing.
    void consumeWinKeys() { tavrel::consumeWinKeys(winKeys_); }
    // A forwarded Windows-key press that never reached the system.
    void winKeyNotSent(const Trigger& key) { tavrel::winKeyNotSent(winKeys_, key); }
    const WinKeyState& winKeys() const { return winKeys_; }

    // Forgets every key state (after a desktop switch, session change or resume) and
    // reads the keys that are physically down. isDown answers for one key or button.
    void resetInput(const std::function<bool(const Trigger&)>& isDown);
    void syncPhysicalKeys(const std::function<bool(const Trigger&)>& isDown);

    std::uint32_t currentModifiers() const;
    bool isDown(KeyId id) const { return id < keySlots && keyDown_[id]; }
    std::uint64_t modifierSince(std::uint32_t set) const { return set < 16 ? modifierSince_[set] : 0; }
    const PendingTrigger& pending(KeyId id) const { return pending_[id]; }

private:
    bool onKey(const Trigger& key, bool down, std::uint64_t time, bool active);
    void setDown(KeyId id, bool down);
    void updateModifierStamps();
    const std::shared_ptr<const Binding>* firstMatch(KeyId id, std::uint32_t modifiers) const;
    void arm(KeyId id, const std::shared_ptr<const Binding>& binding, std::uint64_t time);
    void queue(const PendingTrigger& slot, bool hold);
    bool applyCapture(const Trigger& key, bool down, bool wasDown, bool m, const InputFacts& facts,
                      InputDecision& decision);
    bool capturePress(const Trigger& key, InputDecision& decision);
    bool standardRule(KeyId id, bool down, bool m);
    void endCapture(UINT message, WPARAM wParam, LPARAM lParam, InputDecision& decision);

    std::array<bool, keySlots> keyDown_{};
    std::array<bool, keySlots> swallowed_{};
    std::array<bool, keySlots> captureSwallowed_{};
    std::array<PendingTrigger, keySlots> pending_{};
    std::size_t pendingCount_ = 0;  // slots holding a binding; lets idle events skip the scans
    std::array<std::uint64_t, 16> modifierSince_{};
    std::uint64_t modifierClock_ = 0;
    bool enabled_ = true;
    bool winInvolved_ = false;
    RuntimeBindings bindings_;
    // For each KeyId and modifier set, the position in bindings_ of the first binding with
    // that trigger, or -1: the same answer as a scan in snapshot order, in one look-up.
    std::vector<std::int32_t> firstBinding_;
    Trigger lastKey_{};
    bool lastKeyValid_ = false;
    WinKeyState winKeys_;
    HWND captureWindow_ = nullptr;
    CaptureMode captureMode_ = CaptureMode::key;
    bool pointArmed_ = false;
    POINT capturedPoint_{};
    bool pendingModifier_ = false;
    Trigger pendingModifierKey_{};
};

}  // namespace tavrel
