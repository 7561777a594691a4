#pragma once

#include <string>

namespace tavrel {

// A new GUID as text: braces, upper-case hexadecimal in 8-4-4-4-12 groups (38 characters).
std::wstring createId();

}  // namespace tavrel
