#include "install/prepare_install_command.h"

namespace tavrel {

// This build has no installation helper yet, so no command line is its own.
int runPrepareInstallCommand(const std::vector<std::wstring>&) { return -1; }

}  // namespace tavrel
