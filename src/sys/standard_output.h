#pragma once
// Writing lines to the standard output of a GUI program, which often has none.

#include <string>

namespace tavrel {

// Writes the text and CR LF to the standard output handle the process was given (as
// UTF-8 to a file or a pipe, as UTF-16 to a console), or, without one, to the console of
// the parent process when there is one. Output that has nowhere to go is dropped.
void writeStandardOutputLine(const std::wstring& text);

}  // namespace tavrel
