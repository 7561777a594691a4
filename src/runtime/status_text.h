#pragma once
// The status line's text.

#include <cstddef>
#include <string>

namespace tavrel {

// The looked-up status, and " · Queued: n" (looked up) when runs wait.
std::wstring statusLine(const std::wstring& status, std::size_t queued);

// "Running: <name>, step s/n", with "Running" and "step" looked up.
std::wstring runningStatus(const std::wstring& bindingName, std::size_t step, std::size_t steps);

}  // namespace tavrel
