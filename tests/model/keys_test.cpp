// The physical-key rules: which keys a trigger may name, the modifier a key stands
// for, valid and reserved triggers, and the card search's key filter.

#include "model/keys.h"

#include "builders.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace test;

TEST(Keys, SupportedKeysAreExactlyTheListedCodes) {
    struct Case {
        Trigger trigger;
        bool supported;
    };
    const Case cases[] = {
        // Keyboard, not extended: 0x01..0x53, 0x56..0x58, 0x64..0x6E, 0x76.
        {keyboard(0x00), false},
        {keyboard(0x01), true},
        {keyboard(scanBackspace), true},
        {keyboard(scanF8), true},
        {keyboard(0x53), true},
        {keyboard(0x54), false},
        {keyboard(0x55), false},
        {keyboard(0x56), true},
        {keyboard(0x57), true},
        {keyboard(0x58), true},
        {keyboard(0x59), false},
        {keyboard(0x63), false},
        {keyboard(0x64), true},
        {keyboard(0x6E), true},
        {keyboard(0x6F), false},
        {keyboard(0x75), false},
        {keyboard(0x76), true},
        {keyboard(0x77), false},
        {keyboard(0x7F), false},
        {keyboard(0x80), false},
        {keyboard(0x101), false},
        {keyboard(0x142), false},
        // Keyboard, extended: only the listed codes.
        {extendedKey(0x01), false},
        {extendedKey(scanBackspace), false},
        {extendedKey(0x1B), false},
        {extendedKey(0x1C), true},
        {extendedKey(0x1D), true},
        {extendedKey(0x1E), false},
        {extendedKey(0x34), false},
        {extendedKey(0x35), true},
        {extendedKey(0x36), false},
        {extendedKey(0x37), true},
        {extendedKey(0x38), true},
        {extendedKey(0x39), false},
        {extendedKey(0x42), false},
        {extendedKey(0x46), false},
        {extendedKey(0x47), true},
        {extendedKey(0x48), true},
        {extendedKey(0x49), true},
        {extendedKey(0x4A), false},
        {extendedKey(0x4B), true},
        {extendedKey(0x4C), false},
        {extendedKey(0x4D), true},
        {extendedKey(0x4E), false},
        {extendedKey(0x4F), true},
        {extendedKey(0x50), true},
        {extendedKey(0x51), true},
        {extendedKey(0x52), true},
        {extendedKey(0x53), true},
        {extendedKey(0x54), false},
        {extendedKey(0x5A), false},
        {extendedKey(0x5B), true},
        {extendedKey(0x5C), true},
        {extendedKey(0x5D), true},
        {extendedKey(0x5E), false},
        {extendedKey(0x76), false},
        {extendedKey(0x11C), false},
        // Mouse buttons 1..5, never extended.
        {mouseButton(0), false},
        {mouseButton(1), true},
        {mouseButton(3), true},
        {mouseButton(5), true},
        {mouseButton(6), false},
        {mouseButton(0x42), false},
        {Trigger{.code = 1, .extended = true, .mouse = true}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.trigger));
        EXPECT_EQ(isSupportedKey(c.trigger), c.supported);
    }
}

TEST(Keys, KeyIdSeparatesPlainExtendedAndMouse) {
    struct Case {
        Trigger trigger;
        KeyId id;
    };
    const Case cases[] = {
        {keyboard(1), 1},
        {keyboard(scanCtrl, modShift), 0x1D},
        {extendedKey(scanCtrl), 0x11D},
        {mouseButton(1), 513},
        {mouseButton(5, modWin), 517},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.trigger));
        EXPECT_EQ(keyId(c.trigger), c.id);
    }
}

TEST(Keys, ModifierKeysStandForTheirOwnBit) {
    struct Case {
        Trigger trigger;
        std::uint32_t modifier;
    };
    const Case cases[] = {
        {keyboard(scanCtrl), modCtrl},        // Left Ctrl
        {extendedKey(scanCtrl), modCtrl},     // Right Ctrl
        {keyboard(scanAlt), modAlt},          // Left Alt
        {extendedKey(scanAlt), modAlt},       // Right Alt
        {keyboard(scanLeftShift), modShift},
        {keyboard(scanRightShift), modShift},
        {extendedKey(scanLeftWin), modWin},
        {extendedKey(scanRightWin), modWin},
        // The same codes with the other prefix are different keys.
        {extendedKey(scanLeftShift), 0},
        {extendedKey(scanRightShift), 0},
        {keyboard(scanLeftWin), 0},
        {keyboard(scanRightWin), 0},
        // Ordinary keys, the Menu key, and mouse buttons whatever their number.
        {keyboard(scanF8), 0},
        {extendedKey(0x5D), 0},
        {keyboard(scanCtrl, modAlt), modCtrl},
        {mouseButton(1), 0},
        {mouseButton(scanCtrl), 0},
        {mouseButton(scanLeftShift), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.trigger));
        EXPECT_EQ(modifierOfKey(c.trigger), c.modifier);
    }
}

TEST(Keys, ValidAndReservedTriggers) {
    struct Case {
        Trigger trigger;
        bool reserved;
        bool valid;
    };
    const Case cases[] = {
        {keyboard(scanF8), false, true},
        {keyboard(scanF8, modCtrl | modAlt | modShift | modWin), false, true},
        {keyboard(scanF8, 16), false, false},
        {keyboard(scanF8, 0xFFFFFFFF), false, false},
        // A modifier key cannot carry its own modifier, but may carry the others.
        {keyboard(scanCtrl, modCtrl), false, false},
        {keyboard(scanCtrl, modAlt), false, true},
        {extendedKey(scanCtrl, modCtrl | modShift), false, false},
        {extendedKey(scanAlt, modAlt), false, false},
        {keyboard(scanRightShift, modShift), false, false},
        {extendedKey(scanLeftWin, modWin), false, false},
        {extendedKey(scanRightWin, modCtrl), false, true},
        // Ctrl+Alt+Backspace is kept for stopping every run, whatever else is held.
        {keyboard(scanBackspace, modCtrl | modAlt), true, false},
        {keyboard(scanBackspace, modCtrl | modAlt | modShift), true, false},
        {keyboard(scanBackspace, modCtrl | modAlt | modWin), true, false},
        {keyboard(scanBackspace, modCtrl), false, true},
        {keyboard(scanBackspace, modAlt | modShift), false, true},
        {keyboard(scanBackspace), false, true},
        {keyboard(scanF8, modCtrl | modAlt), false, true},
        {extendedKey(scanBackspace, modCtrl | modAlt), false, false},
        {extendedKey(scanBackspace), false, false},
        // Mouse buttons.
        {mouseButton(3, modCtrl), false, true},
        {mouseButton(1, modCtrl | modAlt), false, true},
        {mouseButton(6), false, false},
        {Trigger{.code = 1, .extended = true, .mouse = true}, false, false},
        {mouseButton(scanBackspace, modCtrl | modAlt), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.trigger));
        EXPECT_EQ(isReservedCombination(c.trigger), c.reserved);
        EXPECT_EQ(isValidTrigger(c.trigger), c.valid);
    }
}

TEST(Keys, KeyFilterMatchesModifiersAndKey) {
    const KeyFilter anything{};
    const KeyFilter ctrl{.modifiers = modCtrl};
    const KeyFilter ctrlShift{.modifiers = modCtrl | modShift};
    const KeyFilter win{.modifiers = modWin};
    const KeyFilter f8{.hasKey = true, .code = scanF8};
    const KeyFilter altF8{.modifiers = modAlt, .hasKey = true, .code = scanF8};
    const KeyFilter leftCtrlKey{.hasKey = true, .code = scanCtrl};
    const KeyFilter rightCtrlKey{.hasKey = true, .code = scanCtrl, .extended = true};
    const KeyFilter key1{.hasKey = true, .code = 1};
    const KeyFilter mouse1{.hasKey = true, .code = 1, .mouse = true};
    struct Case {
        const char* name;
        Trigger trigger;
        KeyFilter filter;
        bool matches;
    };
    const Case cases[] = {
        {"empty filter, plain key", keyboard(scanF8), anything, true},
        {"empty filter, mouse", mouseButton(2, modShift), anything, true},
        {"modifier present", keyboard(scanF8, modCtrl | modAlt), ctrl, true},
        {"modifier missing", keyboard(scanF8, modAlt), ctrl, false},
        {"one of two modifiers missing", keyboard(scanF8, modCtrl), ctrlShift, false},
        {"left ctrl key counts as ctrl", keyboard(scanCtrl), ctrl, true},
        {"right ctrl key counts as ctrl", extendedKey(scanCtrl), ctrl, true},
        {"ctrl key plus shift bit", keyboard(scanCtrl, modShift), ctrlShift, true},
        {"shift key plus ctrl bit", keyboard(scanLeftShift, modCtrl), ctrlShift, true},
        {"win key counts as win", extendedKey(scanRightWin), win, true},
        {"mouse with modifier", mouseButton(4, modWin), win, true},
        {"mouse without modifier", mouseButton(4), win, false},
        {"same key, any modifiers", keyboard(scanF8, modCtrl), f8, true},
        {"other key", keyboard(0x43), f8, false},
        {"key and modifier", keyboard(scanF8, modAlt | modShift), altF8, true},
        {"key without the modifier", keyboard(scanF8, modCtrl), altF8, false},
        {"left ctrl is not right ctrl", extendedKey(scanCtrl), leftCtrlKey, false},
        {"right ctrl is not left ctrl", keyboard(scanCtrl), rightCtrlKey, false},
        {"right ctrl", extendedKey(scanCtrl), rightCtrlKey, true},
        {"keyboard 1 is not mouse 1", keyboard(1), mouse1, false},
        {"mouse 1 is not keyboard 1", mouseButton(1), key1, false},
        {"mouse 1", mouseButton(1, modCtrl), mouse1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(matchesKeyFilter(c.trigger, c.filter), c.matches);
    }
}

}  // namespace
}  // namespace tavrel
