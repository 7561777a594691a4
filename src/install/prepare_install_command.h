#pragma once

#include <string>
#include <vector>

namespace tavrel {

// The elevated "--prepare-install" service mode. Returns the process exit code when the
// command line is this command's, and a negative value when it is not.
int runPrepareInstallCommand(const std::vector<std::wstring>& arguments);

}  // namespace tavrel
