#include "app/startup_config.h"

#include "app/config_language.h"
#include "app/languages.h"
#include "app/messages.h"
#include "config/config_reader.h"
#include "config/config_store.h"
#include "sys/error.h"
#include "sys/files.h"

namespace tavrel {

namespace {

// A file without a language gets the one at `language`, saved at once so the choice is
// kept; then the file's language becomes the interface's.
void adoptLanguage(MainWindow& state, int language) {
    if (fillMissingLanguage(state.config, language)) saveConfig(state.configFile, state.config);
    adoptConfigLanguage(state.config);
}

void loadOrCreate(MainWindow& state) {
    if (fileExists(state.configFile)) {
        state.config = loadConfig(state.configFile);
    } else {
        state.config = Config{};
    }
    adoptLanguage(state, defaultLanguage());
}

void offerBackup(MainWindow& state) {
    if (!fileExists(backupPath(state.configFile))) return;
    const std::wstring question =
        state.loadError + L"\n\n" + lookup(L"Restore the last valid backup? The damaged file will be preserved.");
    if (MessageBoxW(nullptr, question.c_str(), lookup(L"Config error"), MB_ICONWARNING | MB_YESNO) != IDYES) return;
    try {
        restoreBackup(state.configFile);
        state.config = loadConfig(state.configFile);
        adoptLanguage(state, currentLanguage());
        state.configWritable = true;
        state.loadError.clear();
    } catch (const Error& error) {
        state.loadError += L"\n" + lookupCopy(error.message().c_str());
    }
}

}  // namespace

void loadStartupConfig(MainWindow& state, const StartOptions& options) {
    // A save stopped inside ReplaceFileW leaves only the backup: put it back rather than
    // start over with defaults (whose next save would overwrite that backup).
    recoverReplacedFile(state.configFile);
    if (!fileExists(state.configFile) && options.updated) throw Error(L"Updated application configuration is missing.");
    // Without config.xml this copy goes on in its own folder and writes the first file.
    try {
        loadOrCreate(state);
        return;
    } catch (const Error& error) {
        state.configWritable = false;
        state.loadError = state.configFile.wstring() + L"\n" + lookupCopy(error.message().c_str());
    }
    offerBackup(state);
}

void showLoadError(const MainWindow& state) {
    if (state.loadError.empty()) return;
    if (state.runtime) state.runtime->report(state.loadError, L"");
    MessageBoxW(state.hwnd, state.loadError.c_str(), lookup(L"Config error"), MB_ICONWARNING);
}

}  // namespace tavrel
