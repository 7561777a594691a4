#pragma once
// The INPUT records this program injects: keys by scan code, Windows keys by virtual key,
// text as Unicode units, mouse buttons, the mask key, and the batches built from them.
// Every record carries the injected-input marker and time 0.

#include "model/records.h"
#include "runtime/win_decision.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tavrel {

// Text goes out in chunks of this many UTF-16 units (one more to keep a pair together).
constexpr std::size_t textChunkUnits = 32;

// A key down or up by scan code. wVk also holds the mapped virtual key: Windows ignores it
// when KEYEVENTF_SCANCODE is set, and some input layers need it to deliver the key. The
// Windows keys go by virtual key instead.
INPUT keyEvent(const Trigger& key, bool up);
// One UTF-16 unit typed as a Unicode event.
INPUT unicodeEvent(wchar_t unit, bool up);
// A mouse button (1..5) down or up at the current pointer position.
INPUT mouseButtonEvent(std::uint32_t button, bool up);
// The unassigned virtual key that keeps the Start menu or the menu bar from opening when
// a Windows key or Alt the system has seen goes up.
INPUT maskKeyEvent(bool up);

// The key action: modifiers down (Ctrl, Alt, Shift, Win), the key down and up, the
// modifiers up in reverse order, as one batch.
std::vector<INPUT> keyPressEvents(const Trigger& key);

// Where the chunk that starts at start ends: 32 units on, one more when that would split
// a CR LF pair or a surrogate pair, never past the end.
std::size_t textChunkEnd(std::wstring_view text, std::size_t start);
// The Unicode events of one chunk: LF after CR is dropped, any other LF becomes CR.
std::vector<INPUT> textEvents(std::wstring_view chunk);

// The screen point on the 0..65535 scale of the virtual desktop (vx, vy, vw, vh) that an
// absolute move with MOUSEEVENTF_VIRTUALDESK expects. Throws Error when the desktop has
// no area.
POINT absoluteMousePoint(POINT screen, int vx, int vy, int vw, int vh);
// One click: the absolute move, the button down, the button up.
std::vector<INPUT> clickEvents(std::uint32_t button, POINT absolute);

// What undoes the presses of the events a partial SendInput accepted: the releases of the
// keys and buttons still down, last pressed first. Empty when nothing stays down.
std::vector<INPUT> releaseEvents(std::span<const INPUT> accepted);

// The events of a forwarding decision, built inside the hook without allocating.
struct ForwardedInputs {
    std::array<INPUT, 3> events{};
    std::size_t count = 0;
    std::span<INPUT> span() { return {events.data(), count}; }
};
// keyboard is the hook's event when the decision was taken for a keyboard event (its
// virtual key fills wVk, and a key outside the program's table is sent as that original
// key), null for a mouse event.
ForwardedInputs forwardedEvents(const WinDecision& decision, const KBDLLHOOKSTRUCT* keyboard);

}  // namespace tavrel
