#pragma once
// The texts that show keys, triggers and actions on the cards, in the editors and in reports.

#include "model/records.h"

#include <string>

namespace tavrel {

// The key's or button's name, modifiers ignored. Key names are never translated.
std::wstring keyName(const Trigger& trigger);

// "Ctrl+", "Alt+", "Shift+", "Win+" as set, in that order, then the key's name.
std::wstring triggerText(const Trigger& trigger);

// "Open URL", "Run program" and so on, in the current language; "Unknown" otherwise.
std::wstring actionTypeName(ActionType type);

// One line describing an action's parameters.
std::wstring actionSummary(const Action& action);

}  // namespace tavrel
