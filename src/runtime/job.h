#pragma once
// One run of one action list of one binding, as recognition hands it to the run queue.

#include "model/records.h"

#include <windows.h>

#include <cstdint>
#include <memory>

namespace tavrel {

struct Job {
    std::shared_ptr<const Binding> binding;  // keeps the snapshot's record alive while waiting or running
    bool hold = false;                       // run onHold instead of onPress
    std::uint64_t modifierStamp = 0;         // the holding of the binding's modifiers at the press
    HWND foreground = nullptr;               // the foreground window when the job was queued
};

// Abandons the rest of a run. Never reported.
class Canceled {};

}  // namespace tavrel
