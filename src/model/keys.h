#pragma once
// Rules about the physical keys and buttons that triggers and key actions name.

#include "model/records.h"

#include <cstdint>

namespace tavrel {

// code + 512 for a mouse button, code + 256 for an extended key, code otherwise.
KeyId keyId(const Trigger& trigger);

// Whether the key or button is one a trigger or a key action may name.
bool isSupportedKey(const Trigger& trigger);

// The modifier bit the key itself stands for (Left Ctrl is modCtrl), or 0.
std::uint32_t modifierOfKey(const Trigger& trigger);

// Ctrl+Alt+Backspace (whatever else is held): kept for stopping every run.
bool isReservedCombination(const Trigger& trigger);

// A supported key with modifiers 0..15 that do not repeat the key's own modifier,
// and not the reserved combination.
bool isValidTrigger(const Trigger& trigger);

// The card search: the filter's modifiers are all among the trigger's effective
// modifiers (its own plus the key's modifier bit), and its key, when given, is the same.
bool matchesKeyFilter(const Trigger& trigger, const KeyFilter& filter);

}  // namespace tavrel
