#pragma once
// Predicates on bindings and the immutable snapshot of them that the runtime works on.

#include "model/records.h"

#include <memory>
#include <vector>

namespace tavrel {

// What the runtime receives: enabled bindings only, each shared and never modified.
using RuntimeBindings = std::vector<std::shared_ptr<const Binding>>;

// A binding with the default settings and a fresh id. Throws Error when no id can be made.
Binding newBinding();

bool hasEnabledAction(const std::vector<Action>& list);

// An enabled "previous" layout action in onPress, or in onHold when the hold list is in use.
bool usesPreviousLayout(const Binding& binding);

// Drops the disabled actions; the rest keep their order.
void removeDisabledActions(std::vector<Action>& list);

// The trigger is a Win key itself or has the Win modifier.
bool involvesWinKey(const Binding& binding);

// The enabled bindings in list order, without disabled actions or an unused hold list,
// and without bindings left with nothing to run. A binding that returns to the previous
// layout always swallows its trigger.
RuntimeBindings makeRuntimeBindings(const Config& config);

}  // namespace tavrel
