#pragma once
// The Windows-key step's answer for one event: the hook's final swallow answer and the
// events to inject so that the system still sees the Windows-key combinations it owns.

#include "model/records.h"

#include <array>
#include <cstddef>

namespace tavrel {

struct ForwardedEvent {
    Trigger key;   // a physical key or button (modifiers unused)
    bool down = false;
};

struct WinDecision {
    bool swallow = false;
    bool maskStart = false;                // inject the mask key before the events
    std::array<ForwardedEvent, 3> events{};
    std::size_t eventCount = 0;
};

}  // namespace tavrel
