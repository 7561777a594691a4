// How hook events become physical keys and 64-bit event times.

#include "runtime/physical_key.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(KeyboardEventKey, ReducesTheKeysWhoseScanCodesMislead) {
    struct Case {
        DWORD vk, scan, flags;
        Trigger expected;
    };
    const Case cases[] = {
        {VK_PAUSE, 0x45, 0, {0, false, false, 0}},                 // Pause: unsupported
        {VK_CANCEL, 0x46, LLKHF_EXTENDED, {0, false, false, 0}},   // Ctrl+Break: unsupported
        {VK_SNAPSHOT, 0x54, 0, {0x37, true, false, 0}},            // Print Screen (Alt+SysRq sends 0x54)
        {VK_NUMLOCK, 0x45, LLKHF_EXTENDED, {0x45, false, false, 0}},
        {'A', 0x1E, 0, {0x1E, false, false, 0}},
        {VK_RCONTROL, 0x1D, LLKHF_EXTENDED, {0x1D, true, false, 0}},
        {VK_LWIN, 0x5B, LLKHF_EXTENDED | LLKHF_UP, {0x5B, true, false, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(keyboardEventKey(c.vk, c.scan, c.flags), c.expected);
    }
}

TEST(MouseEventButton, NamesTheFiveButtonsAndNothingElse) {
    EXPECT_EQ(mouseEventButton(WM_LBUTTONDOWN, 0), 1u);
    EXPECT_EQ(mouseEventButton(WM_RBUTTONUP, 0), 2u);
    EXPECT_EQ(mouseEventButton(WM_MBUTTONDOWN, 0), 3u);
    EXPECT_EQ(mouseEventButton(WM_XBUTTONDOWN, MAKELONG(0, XBUTTON1)), 4u);
    EXPECT_EQ(mouseEventButton(WM_XBUTTONUP, MAKELONG(0, XBUTTON2)), 5u);
    EXPECT_EQ(mouseEventButton(WM_MOUSEMOVE, 0), 0u);
    EXPECT_EQ(mouseEventButton(WM_MOUSEWHEEL, MAKELONG(0, 120)), 0u);
    EXPECT_TRUE(isButtonDown(WM_XBUTTONDOWN));
    EXPECT_FALSE(isButtonDown(WM_LBUTTONUP));
}

TEST(WidenEventTime, PlacesTheEventBeforeNowAcrossTheLow32BitWrap) {
    EXPECT_EQ(widenEventTime(5000, 4990), 4990u);
    EXPECT_EQ(widenEventTime(5000, 5000), 5000u);
    const std::uint64_t now = 0x100000010ull;  // the low 32 bits just wrapped
    EXPECT_EQ(widenEventTime(now, 0xFFFFFFF0u), 0xFFFFFFF0ull);
    EXPECT_EQ(widenEventTime(0x300000005ull, 3), 0x300000003ull);
}

}  // namespace
}  // namespace tavrel
