#include "runtime/input_events.h"

#include "model/keys.h"
#include "model/scan_codes.h"
#include "runtime/input_marker.h"
#include "runtime/physical_key.h"
#include "sys/error.h"

#include <algorithm>
#include <array>

namespace tavrel {

namespace {

constexpr WORD maskKey = 0xE8;  // an unassigned virtual key

struct ButtonFlags {
    DWORD down;
    DWORD up;
    DWORD data;
};

constexpr std::array<ButtonFlags, 5> buttonFlags{{
    {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0},
    {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0},
    {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1},
    {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2},
}};

constexpr DWORD mouseDownFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_XDOWN;
constexpr DWORD mouseUpFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP | MOUSEEVENTF_XUP;

INPUT keyboardInput(WORD vk, WORD scan, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    input.ki.dwExtraInfo = injectedInputMarker;
    return input;
}

bool isWindowsKey(const Trigger& key) { return modifierOfKey(key) == modWin; }

// The scan-code event of a key, with wVk as given (the Windows keys ignore vk).
INPUT scanCodeEvent(const Trigger& key, bool up, WORD vk) {
    DWORD flags = (key.extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    if (isWindowsKey(key))
        return keyboardInput(key.code == scanLeftWin ? VK_LWIN : VK_RWIN, static_cast<WORD>(key.code), flags);
    return keyboardInput(vk, static_cast<WORD>(key.code), flags | KEYEVENTF_SCANCODE);
}

}  // namespace

INPUT keyEvent(const Trigger& key, bool up) { return scanCodeEvent(key, up, static_cast<WORD>(virtualKeyOf(key))); }

INPUT unicodeEvent(wchar_t unit, bool up) {
    return keyboardInput(0, static_cast<WORD>(unit), KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0));
}

INPUT mouseButtonEvent(std::uint32_t button, bool up) {
    const ButtonFlags& flags = buttonFlags.at(button - 1);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.mouseData = flags.data;
    input.mi.dwFlags = up ? flags.up : flags.down;
    input.mi.dwExtraInfo = injectedInputMarker;
    return input;
}

INPUT maskKeyEvent(bool up) { return keyboardInput(maskKey, 0, up ? KEYEVENTF_KEYUP : 0); }

std::vector<INPUT> keyPressEvents(const Trigger& key) {
    static constexpr struct {
        std::uint32_t bit;
        Trigger key;
    } modifiers[] = {
        {modCtrl, {.code = scanCtrl}},
        {modAlt, {.code = scanAlt}},
        {modShift, {.code = scanLeftShift}},
        {modWin, {.code = scanLeftWin, .extended = true}},
    };
    std::vector<INPUT> events;
    events.reserve(10);
    for (const auto& modifier : modifiers)
        if (key.modifiers & modifier.bit) events.push_back(keyEvent(modifier.key, false));
    const Trigger plain{.code = key.code, .extended = key.extended, .mouse = false, .modifiers = 0};
    events.push_back(keyEvent(plain, false));
    events.push_back(keyEvent(plain, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        if (key.modifiers & it->bit) events.push_back(keyEvent(it->key, true));
    return events;
}

std::size_t textChunkEnd(std::wstring_view text, std::size_t start) {
    if (text.size() - start <= textChunkUnits) return text.size();
    std::size_t end = start + textChunkUnits;
    const wchar_t last = text[end - 1];
    if (last == L'\r' || (last >= 0xD800 && last <= 0xDBFF)) ++end;
    return end;
}

std::vector<INPUT> textEvents(std::wstring_view chunk) {
    std::vector<INPUT> events;
    events.reserve(chunk.size() * 2);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        wchar_t unit = chunk[i];
        if (unit == L'\n') {
            if (i > 0 && chunk[i - 1] == L'\r') continue;
            unit = L'\r';
        }
        events.push_back(unicodeEvent(unit, false));
        events.push_back(unicodeEvent(unit, true));
    }
    return events;
}

POINT absoluteMousePoint(POINT screen, int vx, int vy, int vw, int vh) {
    if (vw < 1 || vh < 1) throw Error(L"Virtual desktop has invalid dimensions.");
    const auto scale = [](std::int64_t offset, std::int64_t size) {
        return static_cast<LONG>((offset * 65536 + 32768) / size);
    };
    return POINT{scale(std::int64_t{screen.x} - vx, vw), scale(std::int64_t{screen.y} - vy, vh)};
}

std::vector<INPUT> clickEvents(std::uint32_t button, POINT absolute) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = absolute.x;
    move.mi.dy = absolute.y;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    move.mi.dwExtraInfo = injectedInputMarker;
    return {move, mouseButtonEvent(button, false), mouseButtonEvent(button, true)};
}

std::vector<INPUT> releaseEvents(std::span<const INPUT> accepted) {
    std::vector<INPUT> pressed;
    for (const INPUT& event : accepted) {
        if (event.type == INPUT_KEYBOARD) {
            if ((event.ki.dwFlags & KEYEVENTF_KEYUP) == 0) {
                INPUT release = event;
                release.ki.dwFlags |= KEYEVENTF_KEYUP;
                pressed.push_back(release);
            } else {
                std::erase_if(pressed, [&](const INPUT& entry) {
                    return entry.type == INPUT_KEYBOARD && entry.ki.wScan == event.ki.wScan &&
                           entry.ki.dwFlags == event.ki.dwFlags;
                });
            }
        } else if (event.type == INPUT_MOUSE) {
            if ((event.mi.dwFlags & mouseDownFlags) != 0) {
                INPUT release = event;
                release.mi.dwFlags = event.mi.dwFlags * 2;
                pressed.push_back(release);
            } else if ((event.mi.dwFlags & mouseUpFlags) != 0) {
                std::erase_if(pressed, [&](const INPUT& entry) {
                    return entry.type == INPUT_MOUSE && entry.mi.dwFlags == event.mi.dwFlags &&
                           entry.mi.mouseData == event.mi.mouseData;
                });
            }
        }
    }
    std::reverse(pressed.begin(), pressed.end());
    return pressed;
}

ForwardedInputs forwardedEvents(const WinDecision& decision, const KBDLLHOOKSTRUCT* keyboard) {
    ForwardedInputs out;
    const auto push = [&out](const INPUT& input) { out.events[out.count++] = input; };
    for (std::size_t i = 0; i < decision.eventCount && i < out.events.size(); ++i) {
        const ForwardedEvent& entry = decision.events[i];
        const bool up = !entry.down;
        if (entry.key.mouse) {
            push(mouseButtonEvent(entry.key.code, up));
        } else if (!keyboard || isWindowsKey(entry.key)) {
            push(keyEvent(entry.key, up));
        } else if (!isSupportedKey(entry.key)) {
            // Outside the key table (Pause, Ctrl+Break): the key exactly as the hook saw it.
            const DWORD flags = (up ? KEYEVENTF_KEYUP : 0) |
                                ((keyboard->flags & LLKHF_EXTENDED) ? KEYEVENTF_EXTENDEDKEY : 0);
            push(keyboardInput(static_cast<WORD>(keyboard->vkCode), static_cast<WORD>(keyboard->scanCode), flags));
        } else {
            push(scanCodeEvent(entry.key, up, static_cast<WORD>(keyboard->vkCode)));
        }
    }
    return out;
}

}  // namespace tavrel
