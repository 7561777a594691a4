#pragma once
// The writer of config.xml: one fixed layout, so that the same configuration always gives
// the same bytes.

#include "model/records.h"

#include <objidl.h>

namespace tavrel {

// Writes the whole document for a validated configuration to the stream and flushes the
// XML writer. Committing and closing the stream are the caller's.
void writeConfig(IStream* stream, const Config& config);

}  // namespace tavrel
