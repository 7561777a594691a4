#include "model/bindings.h"

#include "model/keys.h"
#include "sys/ids.h"

#include <algorithm>
#include <utility>

namespace tavrel {

namespace {

bool returnsToPreviousLayout(const std::vector<Action>& list) {
    return std::any_of(list.begin(), list.end(), [](const Action& action) {
        return action.enabled && action.type == ActionType::layout && action.layoutId == L"previous";
    });
}

}  // namespace

Binding newBinding() {
    Binding binding;
    binding.id = createId();
    return binding;
}

bool hasEnabledAction(const std::vector<Action>& list) {
    return std::any_of(list.begin(), list.end(), [](const Action& action) { return action.enabled; });
}

bool usesPreviousLayout(const Binding& binding) {
    return returnsToPreviousLayout(binding.onPress) ||
           (binding.holdEnabled && returnsToPreviousLayout(binding.onHold));
}

void removeDisabledActions(std::vector<Action>& list) {
    std::erase_if(list, [](const Action& action) { return !action.enabled; });
}

bool involvesWinKey(const Binding& binding) {
    return ((modifierOfKey(binding.trigger) | binding.trigger.modifiers) & modWin) != 0;
}

RuntimeBindings makeRuntimeBindings(const Config& config) {
    RuntimeBindings snapshot;
    for (const Binding& binding : config.bindings) {
        if (!binding.enabled) continue;
        Binding copy = binding;
        removeDisabledActions(copy.onPress);
        removeDisabledActions(copy.onHold);
        if (!copy.holdEnabled) copy.onHold.clear();
        if (usesPreviousLayout(copy)) copy.keepOriginalFunction = false;
        if (copy.onPress.empty() && copy.onHold.empty()) continue;
        snapshot.push_back(std::make_shared<const Binding>(std::move(copy)));
    }
    return snapshot;
}

}  // namespace tavrel
