#pragma once

#include <string>
#include <vector>

namespace tavrel {

// The "update" handoff service mode. Returns the process exit code when the command line
// is this command's, and a negative value when it is not.
int runUpdateCommand(const std::vector<std::wstring>& arguments);

}  // namespace tavrel
