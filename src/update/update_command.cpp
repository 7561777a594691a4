#include "update/update_command.h"

namespace tavrel {

// This build has no update handoff yet, so no command line is its own.
int runUpdateCommand(const std::vector<std::wstring>&) { return -1; }

}  // namespace tavrel
