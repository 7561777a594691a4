#include "runtime/win_key_step.h"

#include "model/keys.h"
#include "model/scan_codes.h"

namespace tavrel {

namespace {

bool isLeftWin(const Trigger& key) { return !key.mouse && key.extended && key.code == scanLeftWin; }
bool isRightWin(const Trigger& key) { return !key.mouse && key.extended && key.code == scanRightWin; }

// The state of the Windows key, or null for any other key.
WinKey* stateOf(WinKeyState& state, const Trigger& key) {
    if (isLeftWin(key)) return &state.left;
    if (isRightWin(key)) return &state.right;
    return nullptr;
}

bool isHeld(WinKey state) {
    return state == WinKey::heldBack || state == WinKey::consumed || state == WinKey::passed;
}

// Held down by the user while the system has not seen it go down.
bool isHiddenFromSystem(WinKey state) { return state == WinKey::heldBack || state == WinKey::consumed; }

Trigger physicalKey(const Trigger& key) {
    return Trigger{.code = key.code, .extended = key.extended, .mouse = key.mouse, .modifiers = 0};
}

Trigger winKey(std::uint32_t code) { return Trigger{.code = code, .extended = true, .mouse = false, .modifiers = 0}; }

void addEvent(WinDecision& decision, const Trigger& key, bool down) {
    decision.events[decision.eventCount++] = ForwardedEvent{physicalKey(key), down};
}

void consumeHeldBack(WinKeyState& state) {
    if (state.left == WinKey::heldBack) state.left = WinKey::consumed;
    if (state.right == WinKey::heldBack) state.right = WinKey::consumed;
}

void otherKeyPressed(WinKeyState& state, const Trigger& key, bool m, WinDecision& decision) {
    if (!isHeld(state.left) && !isHeld(state.right)) return;
    state.otherKey = true;
    if (m) {
        // The key does something of ours: the held-back keys are used, and a Windows key
        // the system has seen must not open the Start menu when it goes up.
        consumeHeldBack(state);
        decision.maskStart = state.left == WinKey::passed || state.right == WinKey::passed;
        return;
    }
    const std::uint32_t modifier = modifierOfKey(key);
    if (modifier == modCtrl || modifier == modAlt || modifier == modShift) return;
    const bool forwardLeft = isHiddenFromSystem(state.left);
    const bool forwardRight = isHiddenFromSystem(state.right);
    if (!forwardLeft && !forwardRight) return;
    // A system shortcut: the system gets the Windows keys first, then a copy of this key
    // that replaces the real one.
    if (forwardLeft) {
        addEvent(decision, winKey(scanLeftWin), true);
        state.left = WinKey::passed;
    }
    if (forwardRight) {
        addEvent(decision, winKey(scanRightWin), true);
        state.right = WinKey::passed;
    }
    addEvent(decision, key, true);
    decision.swallow = true;
}

void winKeyPressed(WinKeyState& state, WinKey& own, const WinKey& other, bool m, bool holdBack, bool otherDown,
                   WinDecision& decision) {
    if (isHeld(own)) {  // auto-repeat
        if (m) {
            consumeHeldBack(state);
            state.otherKey = true;
            decision.swallow = true;
        } else {
            decision.swallow = own != WinKey::passed;
        }
        return;
    }
    if (!isHeld(other)) state.otherKey = otherDown;
    if (m) {
        own = WinKey::consumed;
        consumeHeldBack(state);
        state.otherKey = true;
        decision.swallow = true;
    } else if (holdBack) {
        own = state.otherKey ? WinKey::consumed : WinKey::heldBack;
        decision.swallow = true;
    } else {
        own = WinKey::passed;
        decision.swallow = false;
    }
}

void winKeyReleased(WinKeyState& state, WinKey& own, const WinKey& other, const Trigger& key, bool m,
                    WinDecision& decision) {
    const WinKey was = own;
    own = WinKey::up;
    if (was == WinKey::passed) {
        // The system saw it go down, so it must see it go up.
        decision.swallow = false;
    } else if (was == WinKey::heldBack && !state.otherKey && !m) {
        if (!isHeld(other)) {  // a lone tap still opens the Start menu
            addEvent(decision, winKey(key.code), true);
            addEvent(decision, winKey(key.code), false);
        }
        decision.swallow = true;
    } else if (!m) {
        decision.swallow = was != WinKey::up;
    }
    if (!isHeld(other)) state.otherKey = false;
}

}  // namespace

WinDecision winKeyStep(WinKeyState& state, const Trigger& key, bool down, bool m, bool holdBack, bool otherDown) {
    WinDecision decision;
    decision.swallow = m;
    WinKey* own = stateOf(state, key);
    if (own == nullptr) {
        if (down) otherKeyPressed(state, key, m, decision);
        return decision;
    }
    const WinKey& other = own == &state.left ? state.right : state.left;
    if (down) {
        winKeyPressed(state, *own, other, m, holdBack, otherDown, decision);
    } else {
        winKeyReleased(state, *own, other, key, m, decision);
    }
    return decision;
}

void consumeWinKeys(WinKeyState& state) {
    state.otherKey = true;
    consumeHeldBack(state);
}

void resetWinKeys(WinKeyState& state) {
    for (WinKey* key : {&state.left, &state.right}) {
        *key = (*key == WinKey::up || *key == WinKey::passed) ? WinKey::up : WinKey::stale;
    }
    state.otherKey = false;
}

void winKeyFoundDown(WinKeyState& state, const Trigger& key) {
    WinKey* own = stateOf(state, key);
    if (own != nullptr && *own == WinKey::up) *own = WinKey::passed;
}

void winKeyNotSent(WinKeyState& state, const Trigger& key) {
    WinKey* own = stateOf(state, key);
    if (own != nullptr && *own == WinKey::passed) *own = WinKey::consumed;
}

}  // namespace tavrel
