#pragma once
// The keyboard-layout operations the runtime is given at construction, so that it can be
// run against the system or against a stand-in.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavrel {

// The window that receives keyboard input. All fields zero: no target.
struct KeyboardTarget {
    HWND window = nullptr;        // the top-level (foreground) window
    HWND focus = nullptr;         // the focus window when it belongs to window, else window
    DWORD threadId = 0;           // the thread of focus
    std::uint64_t layout = 0;     // that thread's layout when the record was made
};

// Three callables; an empty member means the operation is not available, and the
// runtime treats it as "nothing to observe, nothing installed".
struct LayoutAccess {
    std::function<KeyboardTarget()> foreground;
    std::function<std::vector<std::uint64_t>()> installed;
    std::function<void(KeyboardTarget&, std::uint64_t, const std::function<bool()>&)> switchLayout;
};

}  // namespace tavrel
