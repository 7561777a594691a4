#pragma once

#include "app/main_window.h"

namespace tavrel {

// Creates the main window's runtime, hands it the configuration, pauses it in safe mode
// and starts it (hooks, then the executor). Throws Error when the hooks cannot be installed.
void startRuntime(MainWindow& state, bool safe);

}  // namespace tavrel
