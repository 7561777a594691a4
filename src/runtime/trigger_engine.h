#pragma once
// Trigger recognition: from the facts of each key or button event to the decision whether
// it completes a binding's press or hold, and whether it is passed on or swallowed.
// Pure state, no Windows calls: the runtime holds its input lock around every call, and
// the hook procedures only gather the facts and apply the answer.

#include "model/bindings.h"
#include "model/records.h"
#include "runtime/job.h"
#include "runtime/win_decision.h"

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
    HWND capture = nullptr;           // the editor window recording a key or position, if any
    std::optional<HWND> foreground;   // the foreground window as the hook read it, when it did
};

struct InputDecision {
    WinDecision win;                  // win.swallow is the hook's answer
    bool postKeyFilter = false;       // tell the main window which keys are held
    std::uint32_t filterModifiers = 0;
    LPARAM filterKey = -1;            // KeyId of the last non-modifier key still held, or -1

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
    // The Windows-key hold-back decides the final answer here; until it exists every
    // event keeps the recognition's answer and nothing is forwarded.
    WinDecision winKeyStep(const Trigger& key, bool down, bool swallow, bool holdBack, bool otherDown);

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
};

}  // namespace tavrel
