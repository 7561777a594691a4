#pragma once

#include <string>
#include <vector>

namespace tavrel {

// The "--check-config [path]" service mode: loads the file (config.xml beside the
// executable by default) and changes nothing. Prints "OK <bindings>" and returns 0, or
// prints the load error and returns 1. Returns a negative value when the command line
// is not this command's.
int runCheckConfigCommand(const std::vector<std::wstring>& arguments);

}  // namespace tavrel
