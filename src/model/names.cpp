#include "model/names.h"

#include "app/messages.h"

#include <array>
#include <string_view>

namespace tavrel {

namespace {

constexpr std::wstring_view unsupportedKey = L"Unsupported key";

// Plain scan codes 0x01..0x53, in code order.
constexpr std::array<std::wstring_view, 0x53> plainNames = {
    L"Esc", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0", L"-", L"=",
    L"Backspace", L"Tab", L"Q", L"W", L"E", L"R", L"T", L"Y", L"U", L"I", L"O", L"P",
    L"[", L"]", L"Enter", L"Left Ctrl", L"A", L"S", L"D", L"F", L"G", L"H", L"J", L"K", L"L",
    L";", L"'", L"`", L"Left Shift", L"\\", L"Z", L"X", L"C", L"V", L"B", L"N", L"M",
    L",", L".", L"/", L"Right Shift", L"Num *", L"Left Alt", L"Space", L"Caps Lock",
    L"F1", L"F2", L"F3", L"F4", L"F5", L"F6", L"F7", L"F8", L"F9", L"F10",
    L"Num Lock", L"Scroll Lock", L"Num 7", L"Num 8", L"Num 9", L"Num -",
    L"Num 4", L"Num 5", L"Num 6", L"Num +", L"Num 1", L"Num 2", L"Num 3", L"Num 0", L"Num .",
};

struct ExtendedName {
    std::uint32_t code;
    std::wstring_view name;
};

constexpr ExtendedName extendedNames[] = {
    {0x1C, L"Num Enter"}, {0x1D, L"Right Ctrl"}, {0x35, L"Num /"},    {0x37, L"Print Screen"},
    {0x38, L"Right Alt"}, {0x47, L"Home"},       {0x48, L"Up"},       {0x49, L"Page Up"},
    {0x4B, L"Left"},      {0x4D, L"Right"},      {0x4F, L"End"},      {0x50, L"Down"},
    {0x51, L"Page Down"}, {0x52, L"Insert"},     {0x53, L"Delete"},   {0x5B, L"Left Win"},
    {0x5C, L"Right Win"}, {0x5D, L"Menu"},
};

std::wstring mouseName(std::uint32_t button) {
    static constexpr const wchar_t* names[] = {L"Left mouse", L"Right mouse", L"Middle mouse",
                                               L"X1 mouse", L"X2 mouse"};
    if (button == 0) return {};
    if (button > 5) return L"Invalid mouse";
    return lookup(names[button - 1]);
}

std::wstring plainKeyName(std::uint32_t code) {
    if (code >= 0x01 && code <= 0x53) return std::wstring(plainNames[code - 1]);
    if (code == 0x56) return L"OEM 102";
    if (code == 0x57) return L"F11";
    if (code == 0x58) return L"F12";
    if (code >= 0x64 && code <= 0x6E) return L"F" + std::to_wstring(code - 87);
    if (code == 0x76) return L"F24";
    return std::wstring(unsupportedKey);
}

std::wstring extendedKeyName(std::uint32_t code) {
    for (const ExtendedName& entry : extendedNames)
        if (entry.code == code) return std::wstring(entry.name);
    return std::wstring(unsupportedKey);
}

std::wstring programSummary(const Action& action) {
    std::wstring text;
    if (action.activate) text = lookupCopy(L"Open or activate") + L": ";
    text += action.value;
    if (!action.arguments.empty()) text += L' ' + action.arguments;
    return text;
}

std::wstring clickSummary(const Action& action) {
    std::wstring text = lookupCopy(action.client ? L"Client area" : L"Screen");
    // A negative button wraps round to a large number and reads as an invalid one.
    text += L": " + mouseName(static_cast<std::uint32_t>(action.button));
    text += L" (" + std::to_wstring(action.x) + L", " + std::to_wstring(action.y) + L") x";
    text += std::to_wstring(static_cast<std::uint32_t>(action.count));
    return text;
}

std::wstring layoutSummary(const Action& action) {
    if (action.layoutId == L"previous") return lookupCopy(L"Use previous keyboard layout");
    return action.layoutName.empty() ? action.layoutId : action.layoutName;
}

}  // namespace

std::wstring keyName(const Trigger& trigger) {
    if (trigger.mouse) return mouseName(trigger.code);
    return trigger.extended ? extendedKeyName(trigger.code) : plainKeyName(trigger.code);
}

std::wstring triggerText(const Trigger& trigger) {
    std::wstring text;
    if (trigger.modifiers & modCtrl) text += L"Ctrl+";
    if (trigger.modifiers & modAlt) text += L"Alt+";
    if (trigger.modifiers & modShift) text += L"Shift+";
    if (trigger.modifiers & modWin) text += L"Win+";
    return text + keyName(trigger);
}

std::wstring actionTypeName(ActionType type) {
    switch (type) {
    case ActionType::url: return lookup(L"Open URL");
    case ActionType::program: return lookup(L"Run program");
    case ActionType::key: return lookup(L"Key press");
    case ActionType::click: return lookup(L"Mouse click");
    case ActionType::delay: return lookup(L"Delay");
    case ActionType::text: return lookup(L"Insert text");
    case ActionType::layout: return lookup(L"Keyboard layout");
    }
    return L"Unknown";
}

std::wstring actionSummary(const Action& action) {
    switch (action.type) {
    case ActionType::url:
    case ActionType::text: return action.value;
    case ActionType::program: return programSummary(action);
    case ActionType::key: return triggerText(action.key);
    case ActionType::click: return clickSummary(action);
    case ActionType::delay: return std::to_wstring(action.delayMs) + L" ms";
    case ActionType::layout: return layoutSummary(action);
    }
    return {};
}

}  // namespace tavrel
