#pragma once
// Whether an action or a whole configuration is acceptable. Bad content is not an
// exception here: the result is the (localised) message to show, empty when all is well.

#include "model/records.h"

#include <string>

namespace tavrel {

std::wstring validateAction(const Action& action);

// Checks the bindings in list order, each completely before the next, and returns the
// first message found. Conflicts are reported on the later of two bindings.
std::wstring validateConfig(const Config& config);

}  // namespace tavrel
