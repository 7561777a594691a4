#pragma once
// The probe's plain hook: a low-level keyboard hook that does nothing but pass each event
// on, so that benchmarks can tell the system's cost of a hook from the program's own.

namespace tavrel::probe {

// Installs the hook, prints "ready" and pumps messages until standard input closes.
int runPlainHook();

}  // namespace tavrel::probe
