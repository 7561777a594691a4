#pragma once
// The screen point a click action clicks at, with the checks that make the click safe.

#include "model/records.h"

#include <windows.h>

#include <functional>

namespace tavrel {

// activateTarget: the runtime is about to click (bring a client-area target to the front
// and refuse a covered point); false for showing the point. check throws Canceled when
// the run was stopped. Throws Error with the user's text when the point cannot be clicked.
POINT clickPoint(const Action& action, bool activateTarget, const std::function<void()>& check);

}  // namespace tavrel
