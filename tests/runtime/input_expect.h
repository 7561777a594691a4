#pragma once
// Expected INPUT records, compared field by field; every injected record must also carry
// the program's marker and time 0.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace tavrel::test {

// Keyboard flags, short.
constexpr DWORD sc = KEYEVENTF_SCANCODE;
constexpr DWORD ext = KEYEVENTF_EXTENDEDKEY;
constexpr DWORD up = KEYEVENTF_KEYUP;
constexpr DWORD uni = KEYEVENTF_UNICODE;

struct ExpectedInput {
    DWORD type = INPUT_KEYBOARD;
    WORD vk = 0;
    WORD scan = 0;
    DWORD flags = 0;
    DWORD mouseData = 0;
    LONG dx = 0;
    LONG dy = 0;
};

inline ExpectedInput key(WORD vk, WORD scan, DWORD flags) {
    return {.type = INPUT_KEYBOARD, .vk = vk, .scan = scan, .flags = flags};
}

inline ExpectedInput mouse(DWORD flags, DWORD data, LONG dx = 0, LONG dy = 0) {
    return {.type = INPUT_MOUSE, .flags = flags, .mouseData = data, .dx = dx, .dy = dy};
}

inline void expectEvent(const INPUT& actual, const ExpectedInput& expected) {
    ASSERT_EQ(actual.type, expected.type);
    if (expected.type == INPUT_KEYBOARD) {
        EXPECT_EQ(actual.ki.wVk, expected.vk);
        EXPECT_EQ(actual.ki.wScan, expected.scan);
        EXPECT_EQ(actual.ki.dwFlags, expected.flags);
        EXPECT_EQ(actual.ki.time, 0u);
        EXPECT_EQ(actual.ki.dwExtraInfo, static_cast<ULONG_PTR>(0x54564C31));
    } else {
        EXPECT_EQ(actual.mi.dwFlags, expected.flags);
        EXPECT_EQ(actual.mi.mouseData, expected.mouseData);
        EXPECT_EQ(actual.mi.dx, expected.dx);
        EXPECT_EQ(actual.mi.dy, expected.dy);
        EXPECT_EQ(actual.mi.time, 0u);
        EXPECT_EQ(actual.mi.dwExtraInfo, static_cast<ULONG_PTR>(0x54564C31));
    }
}

inline void expectEvents(const std::vector<INPUT>& actual, const std::vector<ExpectedInput>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        expectEvent(actual[i], expected[i]);
    }
}

}  // namespace tavrel::test
