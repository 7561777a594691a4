#pragma once
// Short ways to build the triggers, actions and bindings the model tests work on.

#include "model/records.h"
#include "model/scan_codes.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace tavrel::test {

inline Trigger keyboard(std::uint32_t code, std::uint32_t modifiers = 0) {
    return Trigger{.code = code, .extended = false, .mouse = false, .modifiers = modifiers};
}

inline Trigger extendedKey(std::uint32_t code, std::uint32_t modifiers = 0) {
    return Trigger{.code = code, .extended = true, .mouse = false, .modifiers = modifiers};
}

inline Trigger mouseButton(std::uint32_t button, std::uint32_t modifiers = 0) {
    return Trigger{.code = button, .extended = false, .mouse = true, .modifiers = modifiers};
}

// For SCOPED_TRACE: "keyboard 0x1d ext mods 1".
inline std::string describe(const Trigger& trigger) {
    char text[64];
    std::snprintf(text, sizeof text, "%s 0x%x%s mods %u", trigger.mouse ? "mouse" : "keyboard",
                  static_cast<unsigned>(trigger.code), trigger.extended ? " ext" : "",
                  static_cast<unsigned>(trigger.modifiers));
    return text;
}

inline Action actionOf(ActionType type) {
    Action action;
    action.type = type;
    return action;
}

inline Action urlAction(std::wstring value) {
    Action action = actionOf(ActionType::url);
    action.value = std::move(value);
    return action;
}

inline Action programAction(std::wstring path) {
    Action action = actionOf(ActionType::program);
    action.value = std::move(path);
    return action;
}

inline Action keyAction(Trigger key) {
    Action action = actionOf(ActionType::key);
    action.key = key;
    return action;
}

inline Action clickAction(std::int32_t button = 1, std::int32_t count = 1) {
    Action action = actionOf(ActionType::click);
    action.button = button;
    action.count = count;
    return action;
}

inline Action delayAction(std::uint32_t ms) {
    Action action = actionOf(ActionType::delay);
    action.delayMs = ms;
    return action;
}

inline Action textAction(std::wstring text) {
    Action action = actionOf(ActionType::text);
    action.value = std::move(text);
    return action;
}

inline Action layoutAction(std::wstring id, std::wstring name = L"") {
    Action action = actionOf(ActionType::layout);
    action.layoutId = std::move(id);
    action.layoutName = std::move(name);
    return action;
}

inline Action disabled(Action action) {
    action.enabled = false;
    return action;
}

// A valid binding with one On press delay.
inline Binding bindingOf(std::wstring id, std::wstring name, Trigger trigger = keyboard(scanF8)) {
    Binding binding;
    binding.id = std::move(id);
    binding.name = std::move(name);
    binding.trigger = trigger;
    binding.onPress = {delayAction(100)};
    return binding;
}

}  // namespace tavrel::test
