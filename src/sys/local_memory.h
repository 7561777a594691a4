#pragma once
// Owner of memory that a Windows function allocated with LocalAlloc for its caller
// (FormatMessageW with FORMAT_MESSAGE_ALLOCATE_BUFFER, CommandLineToArgvW, ...).

#include <windows.h>

#include <memory>

namespace tavrel {

struct LocalFreeDeleter {
    void operator()(void* memory) const noexcept { LocalFree(memory); }
};

template <typename T>
using LocalMemory = std::unique_ptr<T, LocalFreeDeleter>;

}  // namespace tavrel
