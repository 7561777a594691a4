#pragma once
// File-system helpers shared by the configuration store, the installer and the updater.

#include <filesystem>
#include <string>

namespace tavrel {

// Writes the file's buffered data through to the disk ("Open file for flush", "Flush file").
void flushFile(const std::filesystem::path& path);

// True when the path names an existing file or folder.
bool fileExists(const std::filesystem::path& path);

// Full path of the running executable.
std::filesystem::path modulePath();

// The path with environment variables expanded, made absolute against base when it is
// relative, and normalised without touching the file system.
std::filesystem::path expandPath(const std::wstring& path, const std::filesystem::path& base);

}  // namespace tavrel
