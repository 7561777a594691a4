#pragma once
// Saving config.xml without ever writing it in place, and putting the backup back after
// the file was damaged. Companions, named by appending to the full path: ".tmp" (being
// written), ".bak" (the file before the last save), ".invalid-{GUID}" (a damaged file
// kept by a restore) and ".restore" (the backup on its way into place).

#include "model/records.h"

#include <filesystem>

namespace tavrel {

// path.bak: the file as it was before the last save.
std::filesystem::path backupPath(const std::filesystem::path& path);

// Validates, writes path.tmp, forces it to disk, proves that it loads, then swaps it in
// (ReplaceFileW keeping path.bak, or a plain move for the first file). Throws Error;
// on failure config.xml and the backup are as they were and no temporary file is left.
void saveConfig(const std::filesystem::path& path, const Config& config);

// Keeps the current (damaged) file as path.invalid-{GUID} and puts a copy of path.bak in
// its place. A backup that does not load stops the restore before any file is touched.
// The caller loads the restored file again.
void restoreBackup(const std::filesystem::path& path);

// After ReplaceFileW moved config.xml to the backup name but could not move the new file
// into place, no config.xml exists: this puts a copy of the backup (the previous file)
// back under the path. Does nothing when config.xml exists. Never throws.
void recoverReplacedFile(const std::filesystem::path& path);

}  // namespace tavrel
