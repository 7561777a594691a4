// Command-line quoting and starting processes.

#include "sys/error.h"
#include "sys/files.h"
#include "sys/process.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrel {
namespace {

struct QuoteCase {
    const wchar_t* text;
    const wchar_t* quoted;
};

// Each text is quoted, put after a program name, and split again by Windows: it must come
// back as exactly one argument, unchanged.
TEST(QuoteArgument, CommandLineToArgvGivesTheTextBack) {
    const QuoteCase cases[] = {
        {L"", L"\"\""},
        {L"plain", L"\"plain\""},
        {L"C:\\Program Files\\App\\app.exe", L"\"C:\\Program Files\\App\\app.exe\""},
        {L"C:\\Folder With Blanks\\", L"\"C:\\Folder With Blanks\\\\\""},
        {L"ends in two\\\\", L"\"ends in two\\\\\\\\\""},
        {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
        {L"a\\\"b", L"\"a\\\\\\\"b\""},
        {L"a\\\\\"b", L"\"a\\\\\\\\\\\"b\""},
        {L"inner\\\\run\\x", L"\"inner\\\\run\\x\""},
        {L"\"", L"\"\\\"\""},
        {L"\t tab and blank ", L"\"\t tab and blank \""},
        {L"\\\\server\\share\\", L"\"\\\\server\\share\\\\\""},
    };
    for (const QuoteCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "text " << std::filesystem::path(c.text));
        const std::wstring quoted = quoteArgument(c.text);
        EXPECT_EQ(quoted, c.quoted);
        const std::vector<std::wstring> split = splitCommandLine((L"program.exe " + quoted).c_str(), L"Split");
        ASSERT_EQ(split.size(), 2u);
        EXPECT_EQ(split[1], c.text);
    }
}

std::wstring systemFolder() {
    wchar_t buffer[MAX_PATH];
    GetSystemDirectoryW(buffer, MAX_PATH);
    return buffer;
}

TEST(StartProcess, RunsInTheGivenFolderWithTheArgumentsAsGiven) {
    const testing::TempFolder folder;
    const std::wstring cmd = systemFolder() + L"\\cmd.exe";
    const UniqueHandle process = startProcess(cmd, L"/c echo started> here.txt & exit 7", folder.path(), false);
    ASSERT_TRUE(process);
    ASSERT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 7u);
    EXPECT_TRUE(fileExists(folder.path() / L"here.txt"));
}

TEST(StartProcess, MissingExecutableNamesItInTheError) {
    const std::wstring missing = L"C:\\no such folder\\tool.exe";
    try {
        startProcess(missing, L"", L"", false);
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_TRUE(error.message().starts_with(L"Start C:\\no such folder\\tool.exe: ")) << error.message();
    }
}

}  // namespace
}  // namespace tavrel
