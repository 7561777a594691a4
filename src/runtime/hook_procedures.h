#pragma once
// The low-level hook procedures of the running runtime (the one whose start() ran last).

#include <windows.h>

namespace tavrel {

LRESULT CALLBACK keyboardHookProcedure(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK mouseHookProcedure(int code, WPARAM wParam, LPARAM lParam);

}  // namespace tavrel
