#pragma once
// Loading config.xml at start: the first file in a new folder, filling in a missing
// language, and the offer to restore the backup of a damaged file.

#include "app/command_line.h"
#include "app/main_window.h"

#include <string>

namespace tavrel {

// Loads (or first writes) state.configFile into state.config. A file that cannot be
// loaded, or a save here that fails, leaves the state read-only with the load-error text,
// after offering the backup when one exists. Throws only for an updated process
// without a configuration.
void loadStartupConfig(MainWindow& state, const StartOptions& options);

// Reports the load-error text and shows it over the main window, when there is one.
void showLoadError(const MainWindow& state);

}  // namespace tavrel
