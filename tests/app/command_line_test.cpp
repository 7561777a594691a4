#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

struct OptionsCase {
    std::vector<std::wstring> arguments;
    bool safe, tray, updated, rolledBack;
};

TEST(StartOptions, EachFlagIsAnExactCaseSensitiveArgumentAnywhere) {
    const std::wstring exe = L"C:\\Tavrel\\tavrel.exe";
    const OptionsCase cases[] = {
        {{exe}, false, false, false, false},
        {{exe, L"--safe"}, true, false, false, false},
        {{exe, L"--tray"}, false, true, false, false},
        {{exe, L"--tray", L"--safe"}, true, true, false, false},
        {{exe, L"--updated"}, false, false, true, false},
        {{exe, L"--update-rolled-back"}, false, false, false, true},
        {{exe, L"--SAFE", L"-safe", L"--safe ", L"/safe", L"--tray=1"}, false, false, false, false},
        {{exe, L"unknown", L"--safe", L"more"}, true, false, false, false},
    };
    for (const OptionsCase& c : cases) {
        const StartOptions options = parseStartOptions(c.arguments);
        SCOPED_TRACE(::testing::Message() << "arguments: " << c.arguments.size());
        EXPECT_EQ(options.safe, c.safe);
        EXPECT_EQ(options.tray, c.tray);
        EXPECT_EQ(options.updated, c.updated);
        EXPECT_EQ(options.updateRolledBack, c.rolledBack);
    }
}

TEST(ReadArguments, StartsWithTheProgramPath) {
    const std::vector<std::wstring> arguments = readArguments();
    ASSERT_FALSE(arguments.empty());
    EXPECT_TRUE(arguments[0].ends_with(L"test_app.exe")) << arguments[0];
}

}  // namespace
}  // namespace tavrel
