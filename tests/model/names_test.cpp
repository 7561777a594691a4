// Display texts of keys, triggers and actions (English: the language at test start).
#include "model/names.h"

#include "builders.h"
#include "app/messages.h"
#include "model/keys.h"

#include <gtest/gtest.h>

#include <set>

namespace tavrel {
namespace {

using test::describe;
using test::extendedKey;
using test::keyboard;
using test::mouseButton;

struct NamedKey {
    Trigger key;
    const wchar_t* name;
};

// The ends of every run of the plain table, the look-alike pairs of plain and extended
// codes, the computed F-key range and the mouse buttons.
const NamedKey namedKeys[] = {
    {keyboard(0x01), L"Esc"},           {keyboard(0x02), L"1"},
    {keyboard(0x0B), L"0"},             {keyboard(0x0C), L"-"},
    {keyboard(0x0D), L"="},             {keyboard(0x0E), L"Backspace"},
    {keyboard(0x0F), L"Tab"},           {keyboard(0x10), L"Q"},
    {keyboard(0x19), L"P"},             {keyboard(0x1A), L"["},
    {keyboard(0x1B), L"]"},             {keyboard(0x1C), L"Enter"},
    {extendedKey(0x1C), L"Num Enter"},  {keyboard(0x1D), L"Left Ctrl"},
    {extendedKey(0x1D), L"Right Ctrl"}, {keyboard(0x1E), L"A"},
    {keyboard(0x26), L"L"},             {keyboard(0x27), L";"},
    {keyboard(0x28), L"'"},             {keyboard(0x29), L"`"},
    {keyboard(0x2A), L"Left Shift"},    {keyboard(0x2B), L"\\"},
    {keyboard(0x2C), L"Z"},             {keyboard(0x32), L"M"},
    {keyboard(0x33), L","},             {keyboard(0x34), L"."},
    {keyboard(0x35), L"/"},             {extendedKey(0x35), L"Num /"},
    {keyboard(0x36), L"Right Shift"},   {keyboard(0x37), L"Num *"},
    {extendedKey(0x37), L"Print Screen"}, {keyboard(0x38), L"Left Alt"},
    {extendedKey(0x38), L"Right Alt"},  {keyboard(0x39), L"Space"},
    {keyboard(0x3A), L"Caps Lock"},     {keyboard(0x3B), L"F1"},
    {keyboard(0x44), L"F10"},           {keyboard(0x45), L"Num Lock"},
    {keyboard(0x46), L"Scroll Lock"},   {keyboard(0x47), L"Num 7"},
    {extendedKey(0x47), L"Home"},       {keyboard(0x4A), L"Num -"},
    {keyboard(0x4B), L"Num 4"},         {extendedKey(0x4B), L"Left"},
    {keyboard(0x4E), L"Num +"},         {keyboard(0x4F), L"Num 1"},
    {extendedKey(0x4F), L"End"},        {keyboard(0x52), L"Num 0"},
    {extendedKey(0x52), L"Insert"},     {keyboard(0x53), L"Num ."},
    {extendedKey(0x53), L"Delete"},     {extendedKey(0x48), L"Up"},
    {extendedKey(0x49), L"Page Up"},    {extendedKey(0x4D), L"Right"},
    {extendedKey(0x50), L"Down"},       {extendedKey(0x51), L"Page Down"},
    {extendedKey(0x5B), L"Left Win"},   {extendedKey(0x5C), L"Right Win"},
    {extendedKey(0x5D), L"Menu"},       {keyboard(0x56), L"OEM 102"},
    {keyboard(0x57), L"F11"},           {keyboard(0x58), L"F12"},
    {keyboard(0x64), L"F13"},           {keyboard(0x6A), L"F19"},
    {keyboard(0x6E), L"F23"},           {keyboard(0x76), L"F24"},
    {keyboard(0x54), L"Unsupported key"}, {keyboard(0x00), L"Unsupported key"},
    {keyboard(0x6F), L"Unsupported key"}, {extendedKey(0x0E), L"Unsupported key"},
    {extendedKey(0x4C), L"Unsupported key"}, {mouseButton(0), L""},
    {mouseButton(1), L"Left mouse"},    {mouseButton(2), L"Right mouse"},
    {mouseButton(3), L"Middle mouse"},  {mouseButton(4), L"X1 mouse"},
    {mouseButton(5), L"X2 mouse"},      {mouseButton(6), L"Invalid mouse"},
    {mouseButton(9), L"Invalid mouse"},
};

TEST(KeyName, NamesEachKeyAndButton) {
    for (const NamedKey& entry : namedKeys) {
        SCOPED_TRACE(describe(entry.key));
        EXPECT_EQ(keyName(entry.key), entry.name);
    }
}

TEST(KeyName, EverySupportedKeyHasItsOwnNameAndNoOtherKeyHasOne) {
    std::set<std::wstring> seen;
    for (std::uint32_t code = 0; code < 256; ++code) {
        for (const Trigger& key : {keyboard(code), extendedKey(code)}) {
            SCOPED_TRACE(describe(key));
            const std::wstring name = keyName(key);
            if (isSupportedKey(key)) {
                EXPECT_NE(name, L"Unsupported key");
                EXPECT_TRUE(seen.insert(name).second) << "name used twice";
            } else {
                EXPECT_EQ(name, L"Unsupported key");
            }
        }
    }
}

TEST(KeyName, IgnoresModifiers) {
    EXPECT_EQ(keyName(keyboard(0x42, modCtrl | modWin)), L"F8");
    EXPECT_EQ(keyName(mouseButton(4, modShift)), L"X1 mouse");
}

TEST(TriggerText, PrefixesInFixedOrderForEveryModifierSet) {
    const wchar_t* expected[16] = {
        L"A",           L"Ctrl+A",           L"Alt+A",           L"Ctrl+Alt+A",
        L"Shift+A",     L"Ctrl+Shift+A",     L"Alt+Shift+A",     L"Ctrl+Alt+Shift+A",
        L"Win+A",       L"Ctrl+Win+A",       L"Alt+Win+A",       L"Ctrl+Alt+Win+A",
        L"Shift+Win+A", L"Ctrl+Shift+Win+A", L"Alt+Shift+Win+A", L"Ctrl+Alt+Shift+Win+A",
    };
    for (std::uint32_t mods = 0; mods < 16; ++mods)
        EXPECT_EQ(triggerText(keyboard(0x1E, mods)), expected[mods]) << "modifiers " << mods;
}

TEST(TriggerText, ModifierKeysAndButtons) {
    EXPECT_EQ(triggerText(keyboard(0x1D, modAlt)), L"Alt+Left Ctrl");
    EXPECT_EQ(triggerText(keyboard(0x42, modCtrl | modShift)), L"Ctrl+Shift+F8");
    EXPECT_EQ(triggerText(mouseButton(5, modWin)), L"Win+X2 mouse");
}

TEST(ActionTypeName, NamesEveryType) {
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {0, L"Open URL"},   {1, L"Run program"}, {2, L"Key press"},      {3, L"Mouse click"},
        {4, L"Delay"},      {5, L"Insert text"}, {6, L"Keyboard layout"}, {7, L"Unknown"},
        {0xFFFFFFFF, L"Unknown"},
    };
    for (const auto& [type, name] : cases)
        EXPECT_EQ(actionTypeName(static_cast<ActionType>(type)), name) << "type " << type;
}

Action program(std::wstring path, std::wstring arguments, bool activate) {
    Action action = test::programAction(std::move(path));
    action.arguments = std::move(arguments);
    action.activate = activate;
    return action;
}

Action click(bool client, std::int32_t button, std::int32_t x, std::int32_t y, std::int32_t count) {
    Action action = test::clickAction(button, count);
    action.client = client;
    action.x = x;
    action.y = y;
    return action;
}

TEST(ActionSummary, DescribesEachType) {
    const std::pair<Action, const wchar_t*> cases[] = {
        {test::urlAction(L"https://example.com/a b"), L"https://example.com/a b"},
        {test::textAction(L"two\r\nlines"), L"two\r\nlines"},
        {program(L"C:\\Tools\\app.exe", L"", false), L"C:\\Tools\\app.exe"},
        {program(L"C:\\Tools\\app.exe", L"-n \"x y\"", false), L"C:\\Tools\\app.exe -n \"x y\""},
        {program(L"notepad.exe", L"", true), L"Open or activate: notepad.exe"},
        {program(L"notepad.exe", L"a.txt", true), L"Open or activate: notepad.exe a.txt"},
        {test::keyAction(extendedKey(0x5B, modCtrl | modShift)), L"Ctrl+Shift+Left Win"},
        {click(false, 1, 100, 200, 2), L"Screen: Left mouse (100, 200) x2"},
        {click(true, 2, -5, 0, 1), L"Client area: Right mouse (-5, 0) x1"},
        {click(false, 4, -1920, -30, 1), L"Screen: X1 mouse (-1920, -30) x1"},
        {click(false, 7, 0, 0, 1), L"Screen: Invalid mouse (0, 0) x1"},
        {test::delayAction(250), L"250 ms"},
        {test::delayAction(0), L"0 ms"},
        {test::layoutAction(L"previous", L"ignored"), L"Use previous keyboard layout"},
        {test::layoutAction(L"00000409", L"English (United States)"), L"English (United States)"},
        {test::layoutAction(L"00000422"), L"00000422"},
        {test::actionOf(static_cast<ActionType>(9)), L""},
    };
    for (const auto& [action, text] : cases)
        EXPECT_EQ(actionSummary(action), text) << "type " << static_cast<int>(action.type);
}

// Button names, type names and summary words follow the current language; key names,
// modifier prefixes and buttons without a row stay English.
class NamesInGerman : public testing::Test {
protected:
    void SetUp() override { setLanguage(6); }
    void TearDown() override { setLanguage(0); }
};

TEST_F(NamesInGerman, TranslatesOnlyWhatHasARow) {
    EXPECT_EQ(triggerText(mouseButton(1, modCtrl)), L"Ctrl+Linke Maustaste");
    EXPECT_EQ(keyName(mouseButton(4)), L"X1 mouse");
    EXPECT_EQ(keyName(mouseButton(5)), L"X2 mouse");
    EXPECT_EQ(triggerText(extendedKey(0x4B, modShift)), L"Shift+Left");
    EXPECT_EQ(actionTypeName(ActionType::program), L"Programm starten");
    EXPECT_EQ(actionSummary(click(false, 1, 100, 200, 2)), L"Bildschirm: Linke Maustaste (100, 200) x2");
    EXPECT_EQ(actionSummary(program(L"notepad.exe", L"", true)), L"Öffnen oder aktivieren: notepad.exe");
}

}  // namespace
}  // namespace tavrel
