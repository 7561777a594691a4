// The per-user instance mutex.

#include "app/instance.h"
#include "sys/ids.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(InstanceMutexName, IsEveryByteOfTheSidInDecimalEachFollowedByADash) {
    EXPECT_EQ(instanceMutexName({1, 5, 0, 0, 0, 0, 0, 5, 21, 0, 0, 0, 255}),
              L"Local\\Tavrel-1-5-0-0-0-0-0-5-21-0-0-0-255-");
    EXPECT_EQ(instanceMutexName({}), L"Local\\Tavrel-");
}

TEST(CurrentUserSid, IsAValidSidOfTheProcessUser) {
    std::vector<BYTE> sid = currentUserSid();
    ASSERT_FALSE(sid.empty());
    EXPECT_TRUE(IsValidSid(sid.data()));
    EXPECT_EQ(GetLengthSid(sid.data()), sid.size());
}

TEST(CreateInstanceMutex, TheSecondCreationSeesTheFirst) {
    const std::wstring name = L"Local\\Tavrel-test-" + createId();
    const InstanceMutex first = createInstanceMutex(name);
    EXPECT_TRUE(first.handle);
    EXPECT_FALSE(first.alreadyExisted);
    {
        const InstanceMutex second = createInstanceMutex(name);
        EXPECT_TRUE(second.handle);
        EXPECT_TRUE(second.alreadyExisted);
    }
    // A stale "already exists" from an earlier call must not leak into a new name.
    SetLastError(ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(createInstanceMutex(name + L"-other").alreadyExisted);
}

}  // namespace
}  // namespace tavrel
