#include "model/validation.h"

#include "app/messages.h"
#include "model/keys.h"

#include <algorithm>
#include <cwctype>
#include <set>
#include <string_view>

namespace tavrel {

namespace {

constexpr std::uint32_t maxDelayMs = 600000;
constexpr std::size_t maxTextLength = 65536;
constexpr std::size_t maxLayoutNameLength = 512;
constexpr std::size_t maxIdLength = 80;
constexpr std::uint32_t minHoldMs = 200;
constexpr std::uint32_t maxHoldMs = 3000;

bool isAsciiHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

bool isAsciiAlphanumeric(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t asciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

bool isUrl(std::wstring_view value) {
    std::wstring_view rest;
    if (value.starts_with(L"https://")) {
        rest = value.substr(8);
    } else if (value.starts_with(L"http://")) {
        rest = value.substr(7);
    } else {
        return false;
    }
    if (rest.empty() || rest.front() == L'/' || rest.front() == L'?' || rest.front() == L'#') return false;
    return std::none_of(value.begin(), value.end(), [](wchar_t c) { return c <= L' '; });
}

bool endsWithExe(std::wstring_view value) {
    if (value.size() < 4) return false;
    std::wstring ending(value.substr(value.size() - 4));
    std::transform(ending.begin(), ending.end(), ending.begin(), asciiLower);
    return ending == L".exe";
}

bool isLayoutChoice(const Action& action) {
    if (action.layoutId == L"previous") return true;
    return action.layoutId.size() == 8 &&
           std::all_of(action.layoutId.begin(), action.layoutId.end(), isAsciiHexDigit) &&
           action.layoutName.size() <= maxLayoutNameLength;
}

// The message for the fields the action's type uses, or null when they are acceptable.
const wchar_t* checkFields(const Action& action) {
    switch (action.type) {
    case ActionType::url:
        return isUrl(action.value) ? nullptr : L"Enter an absolute http:// or https:// URL.";
    case ActionType::program:
        if (action.value.empty() || action.value.find(L'"') != std::wstring::npos)
            return L"Choose an executable path without quotes.";
        return endsWithExe(action.value) ? nullptr : L"Run program requires an .exe file.";
    case ActionType::key:
        return !action.key.mouse && isValidTrigger(action.key)
                   ? nullptr
                   : L"Choose a supported physical key; Ctrl+Alt+Backspace is reserved.";
    case ActionType::click:
        if (action.client && action.windowExe.empty()) return L"Choose a target window.";
        if (action.button < 1 || action.button > 5 || action.count < 1 || action.count > 2)
            return L"Invalid mouse button or click count.";
        return nullptr;
    case ActionType::delay:
        return action.delayMs <= maxDelayMs ? nullptr : L"Delay must be 0-600000 ms.";
    case ActionType::text:
        return !action.value.empty() && action.value.size() <= maxTextLength
                   ? nullptr
                   : L"Enter text (up to 65536 characters).";
    case ActionType::layout:
        return isLayoutChoice(action) ? nullptr : L"Choose a keyboard layout.";
    }
    return L"Unknown action type.";
}

bool isValidId(const std::wstring& id) {
    return !id.empty() && id.size() <= maxIdLength && std::all_of(id.begin(), id.end(), [](wchar_t c) {
        return isAsciiAlphanumeric(c) || c == L'-' || c == L'{' || c == L'}';
    });
}

bool hasVisibleCharacter(const std::wstring& name) {
    return std::any_of(name.begin(), name.end(), [](wchar_t c) { return !std::iswspace(c); });
}

// The first message for the binding's actions, onPress before onHold.
std::wstring validateActions(const Binding& binding) {
    for (const auto* list : {&binding.onPress, &binding.onHold}) {
        for (const Action& action : *list) {
            std::wstring message = validateAction(action);
            if (!message.empty()) return binding.name + L": " + message;
        }
    }
    return {};
}

// Everything about one binding that does not depend on the others.
std::wstring validateOwnRules(const Binding& binding) {
    if (!hasVisibleCharacter(binding.name)) return lookupCopy(L"Name must not be empty.");
    if (!isValidTrigger(binding.trigger)) return lookupCopy(L"Invalid trigger (Ctrl+Alt+Backspace is reserved).");
    if (binding.holdThresholdMs < minHoldMs || binding.holdThresholdMs > maxHoldMs)
        return lookupCopy(L"Hold threshold must be 200-3000 ms.");
    if (binding.onPress.empty() && binding.onHold.empty())
        return lookupCopy(L"Add at least one On press or On hold action.");
    return validateActions(binding);
}

// The earlier enabled binding with the same key and modifiers, if any.
const Binding* findConflict(const Config& config, std::size_t index) {
    const Binding& binding = config.bindings[index];
    if (!binding.enabled) return nullptr;
    for (std::size_t i = 0; i < index; ++i) {
        const Binding& earlier = config.bindings[i];
        if (earlier.enabled && keyId(earlier.trigger) == keyId(binding.trigger) &&
            earlier.trigger.modifiers == binding.trigger.modifiers)
            return &earlier;
    }
    return nullptr;
}

}  // namespace

std::wstring validateAction(const Action& action) {
    if (static_cast<std::uint32_t>(action.windowPolicy) > 2) return lookupCopy(L"Choose a window selection rule.");
    const wchar_t* message = checkFields(action);
    return message ? lookupCopy(message) : std::wstring();
}

std::wstring validateConfig(const Config& config) {
    std::set<std::wstring> earlierIds;
    for (std::size_t i = 0; i < config.bindings.size(); ++i) {
        const Binding& binding = config.bindings[i];
        if (!isValidId(binding.id) || !earlierIds.insert(binding.id).second)
            return lookupCopy(L"Missing or duplicate binding ID.");
        std::wstring message = validateOwnRules(binding);
        if (!message.empty()) return message;
        if (const Binding* earlier = findConflict(config, i))
            return lookupCopy(L"Trigger conflicts with") + L" \"" + earlier->name + L"\".";
    }
    return {};
}

}  // namespace tavrel
