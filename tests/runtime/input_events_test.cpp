// The exact INPUT records of each kind of injected input: key combinations, text chunks,
// clicks and the releases after a partial SendInput.

#include "runtime/input_events.h"

#include "sys/error.h"

#include "../model/builders.h"
#include "input_expect.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

using namespace test;

TEST(KeyPressEvents, CtrlShiftLeftWinF8IsEightEventsInPressOrder) {
    const std::vector<INPUT> events = keyPressEvents(keyboard(scanF8, modCtrl | modShift | modWin));
    expectEvents(events, {
        key(VK_LCONTROL, 0x1D, sc),
        key(VK_LSHIFT, 0x2A, sc),
        key(VK_LWIN, 0x5B, ext),
        key(VK_F8, 0x42, sc),
        key(VK_F8, 0x42, sc | up),
        key(VK_LWIN, 0x5B, ext | up),
        key(VK_LSHIFT, 0x2A, sc | up),
        key(VK_LCONTROL, 0x1D, sc | up),
    });
}

TEST(KeyPressEvents, AllFourModifiersGoDownCtrlAltShiftWin) {
    const std::vector<INPUT> events = keyPressEvents(keyboard(0x1E, modWin | modShift | modAlt | modCtrl));
    ASSERT_EQ(events.size(), 10u);
    const WORD order[] = {0x1D, 0x38, 0x2A, 0x5B, 0x1E, 0x1E, 0x5B, 0x2A, 0x38, 0x1D};
    for (std::size_t i = 0; i < events.size(); ++i) EXPECT_EQ(events[i].ki.wScan, order[i]) << i;
}

TEST(KeyPressEvents, WindowsKeysGoByVirtualKeyAndExtendedKeysKeepTheirFlag) {
    expectEvents(keyPressEvents(extendedKey(0x5B)), {key(VK_LWIN, 0x5B, ext), key(VK_LWIN, 0x5B, ext | up)});
    expectEvents(keyPressEvents(extendedKey(0x5C)), {key(VK_RWIN, 0x5C, ext), key(VK_RWIN, 0x5C, ext | up)});
    // The E0 prefix travels as the extended flag.
    expectEvents(keyPressEvents(extendedKey(0x53)), {key(VK_DELETE, 0x53, sc | ext), key(VK_DELETE, 0x53, sc | ext | up)});
}

TEST(KeyPressEvents, RightCtrlCarriesItsOwnVirtualKey) {
    if (MapVirtualKeyW(0xE01D, MAPVK_VSC_TO_VK_EX) != VK_RCONTROL)
        GTEST_SKIP() << "this system maps the scan code E0 1D to Left Ctrl (Wine does; Windows gives VK_RCONTROL)";
    expectEvents(keyPressEvents(extendedKey(0x1D)), {key(VK_RCONTROL, 0x1D, sc | ext), key(VK_RCONTROL, 0x1D, sc | ext | up)});
}

// The chunks a text is cut into, as lengths.
std::vector<std::size_t> chunkLengths(const std::wstring& text) {
    std::vector<std::size_t> lengths;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = textChunkEnd(text, start);
        lengths.push_back(end - start);
        start = end;
    }
    return lengths;
}

TEST(TextChunks, ThirtyTwoUnitsEachAndNeverASplitPair) {
    const std::wstring emoji = L"\U0001F600";  // a surrogate pair
    const struct {
        const char* name;
        std::wstring text;
        std::vector<std::size_t> lengths;
    } cases[] = {
        {"empty", L"", {}},
        {"one unit", L"a", {1}},
        {"exactly one chunk", std::wstring(32, L'a'), {32}},
        {"33 units", std::wstring(33, L'a'), {32, 1}},
        {"CR at position 32 takes its LF along", std::wstring(31, L'a') + L"\r\nb", {33, 1}},
        {"CR at position 32 without LF still takes the next unit", std::wstring(31, L'a') + L"\rbc", {33, 1}},
        {"emoji across the boundary", std::wstring(31, L'a') + emoji + L"b", {33, 1}},
        {"emoji ending the first chunk exactly", std::wstring(30, L'a') + emoji + L"b", {32, 1}},
        {"CR as the very last unit", std::wstring(32, L'a') + L"\r", {32, 1}},
        {"a lone CR ending a 32-unit text", std::wstring(31, L'a') + L"\r", {32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chunkLengths(c.text), c.lengths);
    }
    EXPECT_EQ(chunkLengths(std::wstring(65536, L'x')).size(), 2048u);
}

// The units a chunk types, in order, with their down and up events checked.
std::wstring typed(const std::wstring& chunk) {
    const std::vector<INPUT> events = textEvents(chunk);
    std::wstring units;
    EXPECT_EQ(events.size() % 2, 0u);
    for (std::size_t i = 0; i + 1 < events.size(); i += 2) {
        expectEvent(events[i], key(0, events[i].ki.wScan, uni));
        expectEvent(events[i + 1], key(0, events[i].ki.wScan, uni | up));
        units += static_cast<wchar_t>(events[i].ki.wScan);
    }
    return units;
}

TEST(TextEvents, LineFeedsAreTypedAsCarriageReturns) {
    EXPECT_EQ(typed(L"a\nb"), L"a\rb");
    EXPECT_EQ(typed(L"a\r\nb"), L"a\rb");
    EXPECT_EQ(typed(L"a\rb"), L"a\rb");
    EXPECT_EQ(typed(L"\n\n"), L"\r\r");
    EXPECT_EQ(typed(L"\r\n\r\n"), L"\r\r");
    EXPECT_EQ(typed(L"\U0001F600\u0416"), L"\U0001F600\u0416");  // surrogate halves in order, Cyrillic as is
    EXPECT_EQ(textEvents(std::wstring(33, L'a')).size(), 66u);
}

TEST(ClickEvents, AMoveOnTheVirtualDesktopThenTheButtonWithoutMoving) {
    const POINT absolute{100, 200};
    for (std::uint32_t button = 1; button <= 5; ++button) {
        SCOPED_TRACE(button);
        const std::vector<INPUT> events = clickEvents(button, absolute);
        static constexpr DWORD down[] = {0x0002, 0x0008, 0x0020, 0x0080, 0x0080};
        static constexpr DWORD data[] = {0, 0, 0, XBUTTON1, XBUTTON2};
        expectEvents(events, {
            mouse(0xC001, 0, 100, 200),
            mouse(down[button - 1], data[button - 1]),
            mouse(down[button - 1] * 2, data[button - 1]),
        });
    }
}

TEST(AbsoluteMousePoint, ScreenPointsOnTheSixteenBitScaleOfTheVirtualDesktop) {
    const struct {
        POINT screen;
        int vx, vy, vw, vh;
        POINT expected;
    } cases[] = {
        {{0, 0}, 0, 0, 1920, 1080, {17, 30}},                    // 32768 / 1920, 32768 / 1080
        {{0, 0}, 0, 0, 40000, 40000, {0, 0}},                    // wider and higher than 32768
        {{1919, 1079}, 0, 0, 1920, 1080, {65518, 65505}},
        {{-1920, 0}, -1920, 0, 3840, 1080, {8, 30}},             // a monitor left of the primary one
        {{0, 0}, -1920, 0, 3840, 1080, {32776, 30}},
        {{960, 540}, 0, 0, 1920, 1080, {32785, 32798}},
    };
    for (const auto& c : cases) {
        const POINT p = absoluteMousePoint(c.screen, c.vx, c.vy, c.vw, c.vh);
        EXPECT_EQ(p.x, c.expected.x) << c.screen.x << "," << c.screen.y;
        EXPECT_EQ(p.y, c.expected.y) << c.screen.x << "," << c.screen.y;
    }
    for (const auto& [w, h] : {std::pair{0, 1080}, {1920, 0}, {-5, 100}}) {
        try {
            absoluteMousePoint({0, 0}, 0, 0, w, h);
            ADD_FAILURE() << "no error for " << w << "x" << h;
        } catch (const Error& error) {
            EXPECT_EQ(error.message(), L"Virtual desktop has invalid dimensions.");
            EXPECT_EQ(error.details(), L"");
        }
    }
}

TEST(ReleaseEvents, WhatTheAcceptedPartPressedIsReleasedLastPressedFirst) {
    const std::vector<INPUT> batch = keyPressEvents(keyboard(scanF8, modCtrl | modShift));
    // Ctrl down, Shift down, F8 down accepted: F8, Shift, Ctrl go up again.
    expectEvents(releaseEvents(std::span(batch).first(3)), {
        key(VK_F8, 0x42, sc | up),
        key(VK_LSHIFT, 0x2A, sc | up),
        key(VK_LCONTROL, 0x1D, sc | up),
    });
    // F8 already went up: only the modifiers are left.
    expectEvents(releaseEvents(std::span(batch).first(4)), {
        key(VK_LSHIFT, 0x2A, sc | up),
        key(VK_LCONTROL, 0x1D, sc | up),
    });
    EXPECT_TRUE(releaseEvents(std::span(batch).first(0)).empty());
    // Text: the unit that went down without its release.
    const std::vector<INPUT> text = textEvents(L"ab");
    expectEvents(releaseEvents(std::span(text).first(3)), {key(0, L'b', uni | up)});
    // A click: the move needs nothing, the button does.
    const std::vector<INPUT> click = clickEvents(4, POINT{1, 1});
    expectEvents(releaseEvents(std::span(click).first(2)), {mouse(MOUSEEVENTF_XUP, XBUTTON1)});
    EXPECT_TRUE(releaseEvents(std::span(click).first(1)).empty());
    EXPECT_TRUE(releaseEvents(click).empty());
}

TEST(ForwardedEvents, KeysTakeTheHookEventsVirtualKeyAndUnknownKeysGoAsTheyCame) {
    WinDecision decision;
    decision.events[0] = {extendedKey(0x5B), true};
    decision.events[1] = {keyboard(0x12), true};  // E
    decision.eventCount = 2;
    KBDLLHOOKSTRUCT event{};
    event.vkCode = 'E';
    event.scanCode = 0x12;
    ForwardedInputs forwarded = forwardedEvents(decision, &event);
    expectEvents(std::vector<INPUT>(forwarded.span().begin(), forwarded.span().end()),
                 {key(VK_LWIN, 0x5B, ext), key('E', 0x12, sc)});

    // Pause is outside the key table: its own virtual key and scan code, without the scan-code flag.
    decision.events[1] = {keyboard(0), false};
    event.vkCode = VK_PAUSE;
    event.scanCode = 0x45;
    event.flags = LLKHF_EXTENDED;
    forwarded = forwardedEvents(decision, &event);
    expectEvents(std::vector<INPUT>(forwarded.span().begin(), forwarded.span().end()),
                 {key(VK_LWIN, 0x5B, ext), key(VK_PAUSE, 0x45, ext | up)});

    // A mouse event: the button, with no keyboard event to borrow from.
    decision.events[1] = {mouseButton(2), true};
    forwarded = forwardedEvents(decision, nullptr);
    expectEvents(std::vector<INPUT>(forwarded.span().begin(), forwarded.span().end()),
                 {key(VK_LWIN, 0x5B, ext), mouse(MOUSEEVENTF_RIGHTDOWN, 0)});
}

TEST(MaskKey, UnassignedVirtualKeyDownThenUp) {
    expectEvent(maskKeyEvent(false), key(0xE8, 0, 0));
    expectEvent(maskKeyEvent(true), key(0xE8, 0, up));
}

}  // namespace
}  // namespace tavrel
