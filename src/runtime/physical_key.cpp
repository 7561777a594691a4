#include "runtime/physical_key.h"

namespace tavrel {

Trigger keyboardEventKey(DWORD vkCode, DWORD scanCode, DWORD flags) {
    switch (vkCode) {
    case VK_CANCEL:
    case VK_PAUSE: return Trigger{.code = 0, .extended = false, .mouse = false, .modifiers = 0};
    case VK_SNAPSHOT: return Trigger{.code = 0x37, .extended = true, .mouse = false, .modifiers = 0};
    case VK_NUMLOCK: return Trigger{.code = 0x45, .extended = false, .mouse = false, .modifiers = 0};
    default:
        return Trigger{.code = scanCode, .extended = (flags & LLKHF_EXTENDED) != 0, .mouse = false, .modifiers = 0};
    }
}

std::uint32_t mouseEventButton(WPARAM message, DWORD mouseData) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return 1;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return 2;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: return 3;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: return HIWORD(mouseData) == XBUTTON1 ? 4 : 5;
    default: return 0;
    }
}

bool isButtonDown(WPARAM message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_XBUTTONDOWN;
}

std::uint64_t widenEventTime(std::uint64_t now, DWORD time) {
    const auto now32 = static_cast<std::uint32_t>(now);
    const std::uint32_t age = now32 - static_cast<std::uint32_t>(time);  // modulo 2^32
    return now - age;
}

UINT virtualKeyOf(const Trigger& key) {
    return MapVirtualKeyW(key.extended ? (key.code | 0xE000) : key.code, MAPVK_VSC_TO_VK_EX);
}

}  // namespace tavrel
