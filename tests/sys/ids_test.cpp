#include "sys/ids.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace tavrel {
namespace {

TEST(CreateId, IsABracedUpperCaseGuid) {
    const std::wregex guid(L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    const std::wstring id = createId();
    EXPECT_EQ(id.size(), 38u);
    EXPECT_TRUE(std::regex_match(id, guid)) << id;
}

TEST(CreateId, IsNewEveryTime) {
    std::set<std::wstring> ids;
    for (int i = 0; i < 1000; ++i) ids.insert(createId());
    EXPECT_EQ(ids.size(), 1000u);
}

}  // namespace
}  // namespace tavrel
