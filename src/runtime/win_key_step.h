#pragma once
// The Windows-key hold-back: a Windows key is held back while it may still become part of
// a binding, forwarded together with the next key that shows a system shortcut was meant,
// replayed as a lone tap so that the Start menu still opens, and masked when a binding has
// used a Windows key the system has already seen. Pure state; the caller holds the input lock.

#include "model/records.h"
#include "runtime/win_decision.h"

#include <cstdint>

namespace tavrel {

// Held means heldBack, consumed or passed.
enum class WinKey : std::uint8_t {
    up = 0,
    heldBack = 1,   // the down event was swallowed and nothing has used it yet
    consumed = 2,   // swallowed and used; its release is swallowed and nothing is injected
    passed = 3,     // the system has seen the key go down, by itself or forwarded
    stale = 4,      // left over from before an input reset
};

struct WinKeyState {
    WinKey left = WinKey::up;    // extended scan 0x5B
    WinKey right = WinKey::up;   // extended scan 0x5C
    bool otherKey = false;       // another key went down while a Windows key was held
};

// The step for one key or button event. m is the swallow answer so far, holdBack whether
// hold-back is active for this event, otherDown (for a Windows key) whether some key or
// button other than the two Windows keys is down.
WinDecision winKeyStep(WinKeyState& state, const Trigger& key, bool down, bool m, bool holdBack, bool otherDown);

// The held-back Windows keys count as used: their release is swallowed without a replayed tap.
void consumeWinKeys(WinKeyState& state);

// After an input reset: keys whose down the system never saw become stale, the others up.
void resetWinKeys(WinKeyState& state);

// Resynchronisation found this key physically down: a Windows key thought up has been
// seen by the system.
void winKeyFoundDown(WinKeyState& state, const Trigger& key);

// A forwarded down event of this Windows key could not be injected: the system has not
// seen it after all, so its release must be swallowed.
void winKeyNotSent(WinKeyState& state, const Trigger& key);

}  // namespace tavrel
