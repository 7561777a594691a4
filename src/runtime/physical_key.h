#pragma once
// What a low-level hook event becomes before recognition: a physical key or button, and
// an event time on the 64-bit tick scale.

#include "model/records.h"

#include <windows.h>

#include <cstdint>

namespace tavrel {

// The key of a keyboard hook event. Pause and Ctrl+Break become code 0 (never supported);
// Print Screen and Num Lock are named by the scan codes their keys really have.
Trigger keyboardEventKey(DWORD vkCode, DWORD scanCode, DWORD flags);

// The button (1..5) of a mouse hook message, or 0 for moves, wheels and anything else.
std::uint32_t mouseEventButton(WPARAM message, DWORD mouseData);

// Whether a mouse hook message presses (rather than releases) its button.
bool isButtonDown(WPARAM message);

// The virtual key the current keyboard layout gives a keyboard key (left and right told
// apart), or 0.
UINT virtualKeyOf(const Trigger& key);

// The 32-bit event time placed on the 64-bit scale of now (GetTickCount64), assuming the
// event is less than 2^32 ms old.
std::uint64_t widenEventTime(std::uint64_t now, DWORD time);

}  // namespace tavrel
