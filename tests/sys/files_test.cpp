// File helpers against the real file system.

#include "sys/error.h"
#include "sys/files.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tavrel {
namespace {

using testing::TempFolder;

TEST(FileExists, FilesAndFoldersExistMissingPathsDoNot) {
    const TempFolder folder;
    std::ofstream(folder.path() / L"config.xml") << "x";
    EXPECT_TRUE(fileExists(folder.path() / L"config.xml"));
    EXPECT_TRUE(fileExists(folder.path()));
    EXPECT_FALSE(fileExists(folder.path() / L"config.xml.bak"));
}

TEST(FlushFile, FlushesAnExistingFileAndNamesTheFailingStep) {
    const TempFolder folder;
    const auto file = folder.path() / L"config.xml.tmp";
    std::ofstream(file) << "<tavrel/>";
    EXPECT_NO_THROW(flushFile(file));
    try {
        flushFile(folder.path() / L"missing.xml");
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), L"Open file for flush: " + systemText(ERROR_FILE_NOT_FOUND));
    }
}

TEST(ModulePath, IsTheFullPathOfThisExecutable) {
    const std::filesystem::path path = modulePath();
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_EQ(path.filename(), L"test_sys.exe");
    EXPECT_TRUE(fileExists(path));
}

TEST(ModulePath, PathsBeyond32767CharactersAreRefused) {
    GTEST_SKIP() << "Wine keeps files on Unix paths of at most 4096 bytes, so no executable here can have a "
                    "path over 32767 characters; on Windows modulePath then throws "
                    "\"Cannot determine application path.\"";
}

struct ExpandCase {
    const wchar_t* input;
    const wchar_t* expected;
};

TEST(ExpandPath, ExpandsMakesAbsoluteAndNormalises) {
    SetEnvironmentVariableW(L"TAVREL_TEST_TOOLS", L"D:\\Tools");
    SetEnvironmentVariableW(L"TAVREL_TEST_NAME", L"editor");
    const std::filesystem::path base = L"C:\\Portable\\Tavrel";
    const ExpandCase cases[] = {
        {L"notepad.exe", L"C:\\Portable\\Tavrel\\notepad.exe"},
        {L"%TAVREL_TEST_TOOLS%\\app.exe", L"D:\\Tools\\app.exe"},
        {L"bin\\..\\app.exe", L"C:\\Portable\\Tavrel\\app.exe"},
        {L".\\bin\\.\\app.exe", L"C:\\Portable\\Tavrel\\bin\\app.exe"},
        {L"..\\Other\\app.exe", L"C:\\Portable\\Other\\app.exe"},
        {L"C:\\Windows\\System32\\..\\notepad.exe", L"C:\\Windows\\notepad.exe"},
        {L"tools\\%TAVREL_TEST_NAME%.exe", L"C:\\Portable\\Tavrel\\tools\\editor.exe"},
        {L"%TAVREL_TEST_UNSET%\\x.exe", L"C:\\Portable\\Tavrel\\%TAVREL_TEST_UNSET%\\x.exe"},
        // A root folder without a drive is not absolute: it means the root of the base's drive.
        {L"\\app.exe", L"C:\\app.exe"},
    };
    for (const ExpandCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "input " << std::filesystem::path(c.input));
        EXPECT_EQ(expandPath(c.input, base).wstring(), c.expected);
    }
}

TEST(ExpandPath, LongExpansionIsNotCutShort) {
    const std::wstring longFolder = L"C:\\" + std::wstring(1000, L'a');
    SetEnvironmentVariableW(L"TAVREL_TEST_LONG", longFolder.c_str());
    EXPECT_EQ(expandPath(L"%TAVREL_TEST_LONG%\\x.exe", L"C:\\").wstring(), longFolder + L"\\x.exe");
}

}  // namespace
}  // namespace tavrel
