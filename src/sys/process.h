#pragma once
// Starting programs with a command line that Windows splits back into the same arguments.

#include "sys/handle.h"

#include <string>

namespace tavrel {

// One argument quoted so that CommandLineToArgvW gives it back unchanged. Always quoted.
std::wstring quoteArgument(const std::wstring& text);

// Starts executable with the arguments (used as given) in directory (the caller's
// current folder when empty) and returns the owned process handle.
UniqueHandle startProcess(const std::wstring& executable, const std::wstring& arguments,
                          const std::wstring& directory, bool inheritHandles);

}  // namespace tavrel
