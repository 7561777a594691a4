#pragma once
// Starting programs with a command line that Windows splits back into the same arguments.

#include "sys/handle.h"

#include <string>
#include <vector>

namespace tavrel {

// One argument quoted so that CommandLineToArgvW gives it back unchanged. Always quoted.
std::wstring quoteArgument(const std::wstring& text);

// The arguments of a command line as Windows splits it (CommandLineToArgvW); a failure
// throws windowsError with the caller's operation name.
std::vector<std::wstring> splitCommandLine(const wchar_t* commandLine, const wchar_t* operation);

// Starts executable with the arguments (used as given) in directory (the caller's
// current folder when empty) and returns the owned process handle.
UniqueHandle startProcess(const std::wstring& executable, const std::wstring& arguments,
                          const std::wstring& directory, bool inheritHandles);

}  // namespace tavrel
