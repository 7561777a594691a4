#include "runtime/trigger_engine.h"

#include "model/keys.h"
#include "model/scan_codes.h"

#include <utility>

namespace tavrel {

namespace {

constexpr KeyId leftWinId = 256 + scanLeftWin;
constexpr KeyId rightWinId = 256 + scanRightWin;

// The eight physical modifier keys; left and right give the same bit.
constexpr KeyId modifierKeyIds[] = {scanCtrl, 256 + scanCtrl, scanAlt, 256 + scanAlt,
                                    scanLeftShift, scanRightShift, leftWinId, rightWinId};
constexpr std::uint32_t modifierKeyBits[] = {modCtrl, modCtrl, modAlt, modAlt, modShift, modShift, modWin, modWin};

bool isStopCombination(const Trigger& key, std::uint32_t mods) {
    return !key.mouse && !key.extended && key.code == scanBackspace && (mods & modCtrl) != 0 &&
           (mods & modAlt) != 0;
}

}  // namespace

std::uint32_t TriggerEngine::currentModifiers() const {
    std::uint32_t mods = 0;
    for (std::size_t i = 0; i < std::size(modifierKeyIds); ++i)
        if (keyDown_[modifierKeyIds[i]]) mods |= modifierKeyBits[i];
    return mods;
}

void TriggerEngine::updateModifierStamps() {
    const std::uint32_t mods = currentModifiers();
    for (std::uint32_t set = 1; set < 16; ++set) {
        if ((set & mods) != set) {
            modifierSince_[set] = 0;
        } else if (modifierSince_[set] == 0) {
            modifierSince_[set] = ++modifierClock_;
        }
    }
}

void TriggerEngine::setDown(KeyId id, bool down) {
    keyDown_[id] = down;
    updateModifierStamps();
}

void TriggerEngine::clearPending() {
    if (pendingCount_ == 0) return;
    for (PendingTrigger& slot : pending_) slot = PendingTrigger{};
    pendingCount_ = 0;
}

void TriggerEngine::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) clearPending();
}

void TriggerEngine::setBindings(RuntimeBindings bindings) {
    consumeWinKeys();
    clearPending();
    bindings_ = std::move(bindings);
    firstBinding_.assign(keySlots * 16, -1);
    winInvolved_ = false;
    for (std::size_t i = 0; i < bindings_.size(); ++i) {
        const Trigger& trigger = bindings_[i]->trigger;
        winInvolved_ = winInvolved_ || involvesWinKey(*bindings_[i]);
        const KeyId id = keyId(trigger);
        // Keys outside the tables and modifier sets above 15 can never match an event.
        if (id >= keySlots || trigger.modifiers >= 16) continue;
        std::int32_t& first = firstBinding_[id * 16 + trigger.modifiers];
        if (first < 0) first = static_cast<std::int32_t>(i);
    }
}

const std::shared_ptr<const Binding>* TriggerEngine::firstMatch(KeyId id, std::uint32_t modifiers) const {
    if (firstBinding_.empty() || id >= keySlots || modifiers >= 16) return nullptr;
    const std::int32_t index = firstBinding_[id * 16 + modifiers];
    return index < 0 ? nullptr : &bindings_[static_cast<std::size_t>(index)];
}

void TriggerEngine::queue(const PendingTrigger& slot, bool hold) {
    if (enqueue) enqueue(Job{.binding = slot.binding, .hold = hold, .modifierStamp = slot.modifierStamp});
}

void TriggerEngine::fireDueHolds(std::uint64_t now) {
    if (pendingCount_ == 0) return;
    for (PendingTrigger& slot : pending_) {
        if (!slot.binding || slot.canceled || slot.fired || slot.binding->onHold.empty()) continue;
        if (now - slot.pressTime >= slot.binding->holdThresholdMs) {
            slot.fired = true;
            queue(slot, true);
        }
    }
}

std::optional<std::uint64_t> TriggerEngine::holdDeadline() const {
    std::optional<std::uint64_t> deadline;
    if (pendingCount_ == 0) return deadline;
    for (const PendingTrigger& slot : pending_) {
        if (!slot.binding || slot.canceled || slot.fired || slot.binding->onHold.empty()) continue;
        const std::uint64_t due = slot.pressTime + slot.binding->holdThresholdMs;
        if (!deadline || due < *deadline) deadline = due;
    }
    return deadline;
}

void TriggerEngine::onHoldTimer(std::uint64_t now, bool ownProcessInFront) {
    if (ownProcessInFront) clearPending();
    fireDueHolds(now);
}

void TriggerEngine::arm(KeyId id, const std::shared_ptr<const Binding>& binding, std::uint64_t time) {
    PendingTrigger& slot = pending_[id];
    if (!slot.binding) ++pendingCount_;
    const std::uint32_t mods = binding->trigger.modifiers;
    slot = PendingTrigger{.binding = binding, .pressTime = time, .fired = false, .canceled = false,
                          .modifierStamp = modifierSince_[mods]};
}

bool TriggerEngine::onKey(const Trigger& key, bool down, std::uint64_t time, bool active) {
    if (!active) clearPending();
    const KeyId id = keyId(key);
    const bool prevSwallowed = swallowed_[id];
    const bool wasDown = keyDown_[id];
    setDown(id, down);
    const std::uint32_t mods = currentModifiers();
    const bool fresh = down && !wasDown;

    // Ctrl+Alt+Backspace stops everything, whatever else holds.
    if (fresh && isStopCombination(key, mods)) {
        clearPending();
        swallowed_[id] = true;
        if (onStopAll) onStopAll();
        return true;
    }

    fireDueHolds(time);

    if (!down) {
        PendingTrigger slot = std::exchange(pending_[id], PendingTrigger{});
        swallowed_[id] = false;
        if (slot.binding) {
            --pendingCount_;
            if (!slot.fired && !slot.canceled && !slot.binding->onPress.empty() && enabled_ && active)
                queue(slot, false);
        }
    }

    if (pendingCount_ != 0) {
        for (std::size_t other = 0; other < keySlots; ++other) {
            PendingTrigger& slot = pending_[other];
            if (!slot.binding || slot.fired) continue;
            const std::uint32_t own = modifierOfKey(slot.binding->trigger);
            if ((mods & ~own) != slot.binding->trigger.modifiers) {
                slot.canceled = true;
            } else if (fresh && other != id && own != 0) {
                // A trigger on a modifier key ends when another key is pressed while it is held.
                slot.canceled = true;
            }
        }
    }

    if (fresh && enabled_ && active) {
        const std::uint32_t ownBit = modifierOfKey(key);
        if (const auto* binding = firstMatch(id, mods & ~ownBit)) {
            arm(id, *binding, time);
            PendingTrigger& slot = pending_[id];
            swallowed_[id] = !(*binding)->keepOriginalFunction;
            if ((*binding)->onHold.empty() && ownBit == 0) {
                slot.fired = true;
                if (!(*binding)->onPress.empty()) queue(slot, false);
            }
        }
    }
    return prevSwallowed || swallowed_[id];
}

bool TriggerEngine::standardRule(KeyId id, bool down, bool m) {
    // A key whose press a capture swallowed keeps its repeats and release swallowed.
    m = m || captureSwallowed_[id];
    if (!down) captureSwallowed_[id] = false;
    return m;
}

InputDecision TriggerEngine::processInput(const Trigger& key, bool down, std::uint64_t time,
                                          const InputFacts& facts) {
    InputDecision decision;
    if (!isSupportedKey(key)) {
        decision.win = winKeyStep(winKeys_, key, down, false, false, false);
        return decision;
    }
    const KeyId id = keyId(key);
    // The capture as it was when the event came: a rule below may end it.
    const HWND capture = captureWindow_;
    const bool wasDown = keyDown_[id];
    const bool active = capture == nullptr && !facts.ownProcessInFront;
    bool m = onKey(key, down, time, active);

    if (facts.mouse || capture) {
        lastKeyValid_ = false;
        m = capture ? applyCapture(key, down, wasDown, m, facts, decision) : standardRule(id, down, m);
    } else {
        if (facts.mainWindowInFront) {
            if (down && modifierOfKey(key) == 0) {
                lastKey_ = key;
                lastKeyValid_ = true;
            }
            decision.postKeyFilter = true;
            decision.filterModifiers = currentModifiers();
            if (lastKeyValid_ && keyDown_[keyId(lastKey_)]) {
                decision.filterKey = static_cast<LPARAM>(keyId(lastKey_));
            } else {
                lastKeyValid_ = false;
                decision.filterKey = -1;
            }
        } else {
            lastKeyValid_ = false;
        }
        m = standardRule(id, down, m);
    }

    bool otherDown = false;
    if (modifierOfKey(key) == modWin) {
        for (KeyId other = 0; other < keySlots && !otherDown; ++other)
            otherDown = keyDown_[other] && other != leftWinId && other != rightWinId;
    }
    const bool holdBack = enabled_ && winInvolved_ && capture == nullptr && !facts.ownProcessInFront;
    decision.win = winKeyStep(winKeys_, key, down, m, holdBack, otherDown);
    return decision;
}

void TriggerEngine::syncPhysicalKeys(const std::function<bool(const Trigger&)>& isDown) {
    for (const bool extended : {false, true}) {
        for (std::uint32_t code = 1; code <= 127; ++code) {
            const Trigger key{.code = code, .extended = extended, .mouse = false, .modifiers = 0};
            if (!isSupportedKey(key) || !isDown(key)) continue;
            setDown(keyId(key), true);
            winKeyFoundDown(winKeys_, key);
        }
    }
    for (std::uint32_t button = 1; button <= 5; ++button) {
        const Trigger key{.code = button, .extended = false, .mouse = true, .modifiers = 0};
        if (isDown(key)) setDown(keyId(key), true);
    }
}

void TriggerEngine::resetInput(const std::function<bool(const Trigger&)>& isDown) {
    resetWinKeys(winKeys_);
    keyDown_.fill(false);
    swallowed_.fill(false);
    modifierSince_.fill(0);
    clearPending();
    captureSwallowed_.fill(false);
    syncPhysicalKeys(isDown);
}

}  // namespace tavrel
