// Robustness of the store against damaged input and against a process killed while it
// saves. Both drive tavrel_config_helper.exe (beside this test), so that a crash or a hang
// is seen from outside. More rounds: TAVREL_FUZZ_INPUTS and TAVREL_CRASH_KILLS.

#include "config/config_reader.h"
#include "config/config_store.h"

#include "../sys/temp_folder.h"
#include "sample_configs.h"
#include "sys/error.h"
#include "sys/files.h"
#include "sys/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

namespace tavrel {
namespace {

using test::readBytes;

unsigned long long setting(const char* name, unsigned long long fallback) {
    const char* value = std::getenv(name);
    return value ? std::strtoull(value, nullptr, 10) : fallback;
}

std::wstring helperPath() { return (modulePath().parent_path() / L"tavrel_config_helper.exe").wstring(); }

DWORD waitForExit(const UniqueHandle& process, DWORD timeoutMs) {
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), INFINITE);
        return WAIT_TIMEOUT;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

// The helper's code for a fault or abort() inside the XML reader. Wine's reader has both
// on some inputs that end inside its look-ahead (reading before its buffer); Windows
// reports those as a parse error.
constexpr DWORD readerFault = 3;
// The helper's code for an input on which the XML reader itself never returns (Wine's
// reader loops on some files cut short inside element content).
constexpr DWORD readerHang = 4;

std::wstring loadFailure(const std::filesystem::path& path) {
    try {
        loadConfig(path);
    } catch (const Error& error) {
        return error.message();
    }
    return {};
}

TEST(ConfigRobustness, DamagedFilesLoadValidOrFailWithAMessage) {
    const testing::TempFolder folder;
    const unsigned long long inputs = setting("TAVREL_FUZZ_INPUTS", 60);
    unsigned long long next = 0, aborts = 0, hangs = 0;
    while (next < inputs) {
        const std::wstring arguments = L"fuzz " + quoteArgument(folder.path().wstring()) + L" " +
                                       std::to_wstring(next) + L" " + std::to_wstring(inputs - next);
        const UniqueHandle process = startProcess(helperPath(), arguments, folder.path().wstring(), false);
        const DWORD code = waitForExit(process, 180000);
        const std::string progress = readBytes(folder.path() / L"progress");
        const unsigned long long reached = progress.empty() ? next : std::stoull(progress);
        if (code == 0) break;
        ASSERT_NE(code, WAIT_TIMEOUT) << "input " << reached << " hung";
        ASSERT_NE(code, 2u) << readBytes(folder.path() / L"failure");
        ASSERT_TRUE((code == readerFault || code == readerHang) && test::runsOnWine())
            << "input " << reached << " crashed, code " << code;
        ++(code == readerFault ? aborts : hangs);
        next = reached + 1;
    }
    if (aborts || hangs)
        std::printf("Wine's XML reader crashed on %llu and looped on %llu of %llu inputs\n", aborts, hangs, inputs);
}

TEST(ConfigRobustness, AKilledSaveLeavesEitherTheOldOrTheNewFile) {
    const testing::TempFolder folder;
    const std::filesystem::path path = folder.path() / L"config.xml";
    const std::filesystem::path backup = folder.path() / L"config.xml.bak";
    const Config configs[2] = {test::crashConfig(0), test::crashConfig(1)};
    saveConfig(path, configs[1]);
    saveConfig(path, configs[0]);

    std::mt19937 random(20261211);
    const unsigned long long kills = setting("TAVREL_CRASH_KILLS", 8);
    unsigned long long interrupted = 0;
    for (unsigned long long round = 0; round < kills; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const UniqueHandle process = startProcess(helperPath(), L"save-loop " + quoteArgument(path.wstring()),
                                                  folder.path().wstring(), false);
        Sleep(150 + random() % 600);
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), INFINITE);
        // A kill inside ReplaceFileW, between its two renames, leaves no config.xml; the
        // next start puts the backup (the previous file) back first, as done here.
        if (!fileExists(path)) {
            ++interrupted;
            recoverReplacedFile(path);
        }
        ASSERT_EQ(loadFailure(path), L"");
        ASSERT_EQ(loadFailure(backup), L"");
        const Config current = loadConfig(path), previous = loadConfig(backup);
        EXPECT_TRUE(current == configs[0] || current == configs[1]);
        EXPECT_TRUE(previous == configs[0] || previous == configs[1]);
    }
    if (interrupted) std::printf("%llu of %llu kills fell between the renames of ReplaceFileW\n", interrupted, kills);
}

}  // namespace
}  // namespace tavrel
