#include "config/config_store.h"

#include "config/config_reader.h"
#include "config/config_writer.h"
#include "model/validation.h"
#include "sys/com_ptr.h"
#include "sys/error.h"
#include "sys/files.h"
#include "sys/hresult.h"
#include "sys/ids.h"

#include <shlwapi.h>

namespace tavrel {

namespace {

std::filesystem::path companion(const std::filesystem::path& path, const wchar_t* suffix) {
    std::filesystem::path name = path;
    name += suffix;
    return name;
}

void writeTemporary(const std::filesystem::path& temporary, const Config& config) {
    ComPtr<IStream> stream;
    checkHresult(SHCreateStreamOnFileEx(temporary.c_str(), STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE,
                                        FILE_ATTRIBUTE_NORMAL, TRUE, nullptr, stream.put()),
                 L"Create temporary config");
    writeConfig(stream.get(), config);
    checkHresult(stream->Commit(STGC_DEFAULT), L"Commit config");
}  // releasing the stream closes the file

void swapIn(const std::filesystem::path& path, const std::filesystem::path& temporary,
            const std::filesystem::path& backup) {
    if (!fileExists(path)) {
        checkWin32(MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE,
                   L"Save first config.xml");
        return;
    }
    if (ReplaceFileW(path.c_str(), temporary.c_str(), backup.c_str(), 0, nullptr, nullptr)) return;
    const DWORD code = GetLastError();
    // In this one partial outcome the old file already carries the backup name and
    // nothing is named config.xml: a later start would take the folder for a new one.
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) recoverReplacedFile(path);
    throw windowsError(L"Replace config.xml (old file preserved)", code);
}

}  // namespace

std::filesystem::path backupPath(const std::filesystem::path& path) { return companion(path, L".bak"); }

void saveConfig(const std::filesystem::path& path, const Config& config) {
    if (std::wstring message = validateConfig(config); !message.empty()) throw Error(std::move(message));
    const std::filesystem::path temporary = companion(path, L".tmp");
    const std::filesystem::path backup = backupPath(path);
    try {
        writeTemporary(temporary, config);
        flushFile(temporary);
        loadConfig(temporary);  // a file that would not load again never replaces the current one
        swapIn(path, temporary, backup);
    } catch (...) {
        DeleteFileW(temporary.c_str());
        throw;
    }
}

void restoreBackup(const std::filesystem::path& path) {
    const std::filesystem::path backup = backupPath(path);
    loadConfig(backup);
    const std::filesystem::path preserved = companion(path, (L".invalid-" + createId()).c_str());
    if (fileExists(path)) {
        checkWin32(CopyFileW(path.c_str(), preserved.c_str(), TRUE) != FALSE, L"Preserve damaged config");
    }
    const std::filesystem::path restore = companion(path, L".restore");
    checkWin32(CopyFileW(backup.c_str(), restore.c_str(), FALSE) != FALSE, L"Copy valid backup");
    flushFile(restore);
    checkWin32(MoveFileExW(restore.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH | MOVEFILE_REPLACE_EXISTING) != FALSE,
               L"Restore config backup");
}

void recoverReplacedFile(const std::filesystem::path& path) {
    if (fileExists(path)) return;
    const std::filesystem::path backup = backupPath(path);
    // A copy, so that the backup stays as well; fail-if-exists never overwrites a file
    // that appeared meanwhile.
    if (CopyFileW(backup.c_str(), path.c_str(), TRUE)) {
        try {
            flushFile(path);
        } catch (const Error&) {
            // The copy is in place; forcing it to disk is all that failed.
        }
    }
}

}  // namespace tavrel
