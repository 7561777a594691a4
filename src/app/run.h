#pragma once

#include <windows.h>

namespace tavrel {

// The program's main routine: brings everything up in order, runs the message loop and
// takes everything down again. Returns the exit code; failures leave as Error.
int run(HINSTANCE instance);

}  // namespace tavrel
