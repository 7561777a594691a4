#pragma once
// The strict reader of config.xml: every element, attribute and value it does not expect
// is an error, never skipped.

#include "model/records.h"

#include <filesystem>

namespace tavrel {

// The largest config.xml the reader accepts (exactly this size is accepted).
inline constexpr unsigned long long maxConfigBytes = 8388608;

// Reads and validates the file, or throws Error saying what is wrong. The file is never
// modified and is held open (deny-write) only while it is read.
Config loadConfig(const std::filesystem::path& path);

}  // namespace tavrel
