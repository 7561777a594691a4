#pragma once
// The interface language that a loaded configuration asks for.

#include "model/records.h"

namespace tavrel {

// Gives a configuration that names no language the language at `index` (see languages.h).
// True when it changed, so that the caller saves it once.
bool fillMissingLanguage(Config& config, int index);

// Makes the configuration's language the current one (English for an unknown code).
void adoptConfigLanguage(const Config& config);

}  // namespace tavrel
