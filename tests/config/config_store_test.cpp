// Saving through the temporary file and the backup, and restoring the backup: what each
// success and each failure leaves in the folder.

#include "config/config_reader.h"
#include "config/config_store.h"

#include "../sys/temp_folder.h"
#include "sample_configs.h"
#include "sys/error.h"
#include "sys/handle.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tavrel {
namespace {

using test::readBytes;
using test::writeBytes;

const std::string damaged = R"(<?xml version="1.0"?><tavrel schemaVersion="9"/>)";

class ConfigStore : public ::testing::Test {
protected:
    std::filesystem::path path(const wchar_t* suffix = L"") const {
        std::filesystem::path name = folder.path() / L"config.xml";
        name += suffix;
        return name;
    }

    std::set<std::wstring> names() const {
        std::set<std::wstring> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            found.insert(entry.path().filename().wstring());
        return found;
    }

    std::set<std::wstring> invalidCopies() const {
        std::set<std::wstring> found;
        for (const std::wstring& name : names())
            if (name.rfind(L"config.xml.invalid-{", 0) == 0 && name.back() == L'}') found.insert(name);
        return found;
    }

    // The message of the Error the call raises (empty when it does not fail).
    template <typename Call>
    static std::wstring failure(Call call) {
        try {
            call();
        } catch (const Error& error) {
            return error.message();
        }
        return {};
    }

    static bool startsWith(const std::wstring& text, const wchar_t* prefix) { return text.rfind(prefix, 0) == 0; }

    Config first = test::richConfig();
    Config second = [] {
        Config config = test::richConfig();
        config.width = 1234;
        config.bindings.pop_back();
        return config;
    }();
    testing::TempFolder folder;
};

TEST_F(ConfigStore, FirstSaveMakesNoBackupAndTheSecondKeepsTheFirstFile) {
    saveConfig(path(), first);
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml"}));
    const std::string firstBytes = readBytes(path());

    saveConfig(path(), second);
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml", L"config.xml.bak"}));
    EXPECT_EQ(readBytes(path(L".bak")), firstBytes);
    EXPECT_EQ(loadConfig(path()), second);
}

TEST_F(ConfigStore, AnInvalidConfigurationIsNotWritten) {
    saveConfig(path(), first);
    const std::string before = readBytes(path());
    Config invalid = first;
    invalid.bindings[1].id = invalid.bindings[0].id;
    EXPECT_EQ(failure([&] { saveConfig(path(), invalid); }), L"Missing or duplicate binding ID.");
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml"}));
    EXPECT_EQ(readBytes(path()), before);
}

TEST_F(ConfigStore, ALeftoverTemporaryFileIsTruncatedAndReused) {
    writeBytes(path(L".tmp"), std::string(200000, '<'));
    saveConfig(path(), first);
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml"}));
    EXPECT_EQ(loadConfig(path()), first);
}

TEST_F(ConfigStore, ATextTheWriterCannotEncodeLeavesTheFilesAlone) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    const std::string current = readBytes(path()), backup = readBytes(path(L".bak"));
    Config unencodable = second;
    unencodable.bindings[0].onHold[1].value = std::wstring(L"half a pair: ") + wchar_t(0xD83D) + L" here";

    const std::wstring message = failure([&] { saveConfig(path(), unencodable); });
    EXPECT_FALSE(message.empty());
    // Wine's writer lets the lone surrogate through; the reload check then refuses the file.
    if (!test::runsOnWine()) {
        EXPECT_TRUE(startsWith(message, L"Write escaped XML text: ")) << message;
    }
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml", L"config.xml.bak"}));
    EXPECT_EQ(readBytes(path()), current);
    EXPECT_EQ(readBytes(path(L".bak")), backup);
}

TEST_F(ConfigStore, AConfigXmlHeldOpenIsNotReplaced) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    const std::string current = readBytes(path()), backup = readBytes(path(L".bak"));
    {
        // As an editor holds a file: reading, letting others read, but not delete or rename.
        const UniqueHandle editor(
            CreateFileW(path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(editor);
        const std::wstring message = failure([&] { saveConfig(path(), first); });
        EXPECT_TRUE(startsWith(message, L"Replace config.xml (old file preserved): ")) << message;
    }
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml", L"config.xml.bak"}));
    EXPECT_EQ(readBytes(path()), current);
    EXPECT_EQ(readBytes(path(L".bak")), backup);
}

TEST_F(ConfigStore, ATemporaryFileHeldByAnotherWriterFailsTheSave) {
    saveConfig(path(), first);
    const std::string current = readBytes(path());
    const UniqueHandle other(CreateFileW(path(L".tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(other);
    const std::wstring message = failure([&] { saveConfig(path(), second); });
    EXPECT_TRUE(startsWith(message, L"Create temporary config: ")) << message;
    EXPECT_EQ(readBytes(path()), current);
}

TEST_F(ConfigStore, AFolderThatCannotBeWrittenFailsTheSave) {
    const std::wstring missing = failure([&] { saveConfig(folder.path() / L"gone" / L"config.xml", first); });
    EXPECT_TRUE(startsWith(missing, L"Create temporary config: ")) << missing;

    saveConfig(path(), first);
    const std::string current = readBytes(path());
    // Deny everyone the creation of files in the folder.
    EXPLICIT_ACCESSW deny{};
    BuildExplicitAccessWithNameW(&deny, const_cast<wchar_t*>(L"EVERYONE"), FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY,
                                 DENY_ACCESS, NO_INHERITANCE);
    PACL acl = nullptr;
    ASSERT_EQ(SetEntriesInAclW(1, &deny, nullptr, &acl), ERROR_SUCCESS);
    const DWORD set = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.path().c_str()), SE_FILE_OBJECT,
                                            DACL_SECURITY_INFORMATION, nullptr, nullptr, acl, nullptr);
    LocalFree(acl);
    ASSERT_EQ(set, ERROR_SUCCESS);
    const UniqueHandle probe(CreateFileW((folder.path() / L"probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (probe) GTEST_SKIP() << "folder permissions are not enforced here (Wine ignores file ACLs)";

    const std::wstring message = failure([&] { saveConfig(path(), second); });
    EXPECT_TRUE(startsWith(message, L"Create temporary config: ")) << message;
    EXPECT_EQ(readBytes(path()), current);
    EXPECT_FALSE(std::filesystem::exists(path(L".tmp")));
}

TEST_F(ConfigStore, APartialReplaceIsUndoneFromTheBackup) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    const std::string previous = readBytes(path());
    // The state ReplaceFileW leaves when it moved the old file away but not the new one in.
    std::filesystem::rename(path(), path(L".bak"));
    recoverReplacedFile(path());
    EXPECT_EQ(readBytes(path()), previous);
    EXPECT_EQ(readBytes(path(L".bak")), previous);

    saveConfig(path(), first);
    const std::string current = readBytes(path());
    recoverReplacedFile(path());  // config.xml exists: nothing to undo
    EXPECT_EQ(readBytes(path()), current);
}

TEST_F(ConfigStore, RestoreKeepsTheDamagedFileAndPutsTheBackupInPlace) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    const std::string backup = readBytes(path(L".bak"));
    writeBytes(path(), damaged);
    writeBytes(path(L".restore"), "leftover of a failed restore");

    restoreBackup(path());
    EXPECT_EQ(readBytes(path()), backup);
    EXPECT_EQ(readBytes(path(L".bak")), backup);
    EXPECT_FALSE(std::filesystem::exists(path(L".restore")));
    const std::set<std::wstring> copies = invalidCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies.begin()->size(), std::wstring(L"config.xml.invalid-").size() + 38);
    EXPECT_EQ(readBytes(folder.path() / *copies.begin()), damaged);
    EXPECT_EQ(loadConfig(path()), first);
}

TEST_F(ConfigStore, RestoringTwiceKeepsTwoDamagedCopies) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    writeBytes(path(), damaged);
    restoreBackup(path());
    writeBytes(path(), damaged + " ");
    restoreBackup(path());
    EXPECT_EQ(invalidCopies().size(), 2u);
    EXPECT_EQ(loadConfig(path()), first);
}

TEST_F(ConfigStore, RestoreWithoutConfigXmlSkipsThePreserveStep) {
    saveConfig(path(), first);
    saveConfig(path(), second);
    std::filesystem::remove(path());
    restoreBackup(path());
    EXPECT_TRUE(invalidCopies().empty());
    EXPECT_EQ(loadConfig(path()), first);
}

TEST_F(ConfigStore, ADamagedOrMissingBackupStopsTheRestoreBeforeAnyFileIsTouched) {
    writeBytes(path(), damaged);
    const std::wstring missing = failure([&] { restoreBackup(path()); });
    EXPECT_TRUE(startsWith(missing, L"Read config file: ")) << missing;

    writeBytes(path(L".bak"), damaged + "<!-- a damaged backup -->");
    const std::wstring expected = failure([&] { loadConfig(path(L".bak")); });
    EXPECT_EQ(failure([&] { restoreBackup(path()); }), expected);
    EXPECT_EQ(names(), (std::set<std::wstring>{L"config.xml", L"config.xml.bak"}));
    EXPECT_EQ(readBytes(path()), damaged);
}

}  // namespace
}  // namespace tavrel
