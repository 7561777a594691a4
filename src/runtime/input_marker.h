#pragma once

#include <windows.h>

namespace tavrel {

// Every event this program injects carries this in dwExtraInfo, so that the hooks can
// tell it from the user's input.
constexpr ULONG_PTR injectedInputMarker = 0x54564C31;

}  // namespace tavrel
