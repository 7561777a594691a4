// validateConfig: the rules of one binding in their order, ids across bindings, the
// trigger conflict rule, and which of several faults is reported.

#include "model/validation.h"

#include "builders.h"

#include <gtest/gtest.h>

#include <functional>

namespace tavrel {
namespace {

using namespace test;

const std::wstring ok;
const std::wstring badId = L"Missing or duplicate binding ID.";
const std::wstring noName = L"Name must not be empty.";
const std::wstring badTrigger = L"Invalid trigger (Ctrl+Alt+Backspace is reserved).";
const std::wstring badThreshold = L"Hold threshold must be 200-3000 ms.";
const std::wstring noAction = L"Add at least one On press or On hold action.";

std::wstring conflictWith(const std::wstring& name) { return L"Trigger conflicts with \"" + name + L"\"."; }

Config configOf(std::vector<Binding> bindings) {
    Config config;
    config.bindings = std::move(bindings);
    return config;
}

TEST(ValidateConfig, NoBindingsIsValid) { EXPECT_EQ(validateConfig(Config{}), ok); }

TEST(ValidateConfig, RulesOfOneBinding) {
    struct Case {
        const char* name;
        std::function<void(Binding&)> change;
        std::wstring expected;
    };
    const Case cases[] = {
        {"unchanged", [](Binding&) {}, ok},
        // id
        {"empty id", [](Binding& b) { b.id = L""; }, badId},
        {"GUID id", [](Binding& b) { b.id = L"{0F8FAD5B-D9CB-469F-A165-70867728950E}"; }, ok},
        {"every allowed character", [](Binding& b) { b.id = L"-09AZaz{}"; }, ok},
        {"80 characters", [](Binding& b) { b.id = std::wstring(80, L'a'); }, ok},
        {"81 characters", [](Binding& b) { b.id = std::wstring(81, L'a'); }, badId},
        {"dot", [](Binding& b) { b.id = L"a.b"; }, badId},
        {"underscore", [](Binding& b) { b.id = L"a_b"; }, badId},
        {"space", [](Binding& b) { b.id = L"a b"; }, badId},
        {"non-ASCII letter", [](Binding& b) { b.id = L"caf\u00e9"; }, badId},
        // name
        {"empty name", [](Binding& b) { b.name = L""; }, noName},
        {"blank name", [](Binding& b) { b.name = L"   "; }, noName},
        {"white space of every kind", [](Binding& b) { b.name = L" \t\r\n\v\f"; }, noName},
        {"name within blanks", [](Binding& b) { b.name = L"  x  "; }, ok},
        // trigger
        {"Ctrl+Alt+Backspace", [](Binding& b) { b.trigger = keyboard(scanBackspace, modCtrl | modAlt); }, badTrigger},
        {"Ctrl+Alt+Shift+Backspace",
         [](Binding& b) { b.trigger = keyboard(scanBackspace, modCtrl | modAlt | modShift); }, badTrigger},
        {"Left Ctrl with Ctrl", [](Binding& b) { b.trigger = keyboard(scanCtrl, modCtrl); }, badTrigger},
        {"Left Ctrl with Alt", [](Binding& b) { b.trigger = keyboard(scanCtrl, modAlt); }, ok},
        {"mouse button 6", [](Binding& b) { b.trigger = mouseButton(6); }, badTrigger},
        {"mouse button 3 with Ctrl", [](Binding& b) { b.trigger = mouseButton(3, modCtrl); }, ok},
        // hold threshold, checked even when the hold list is not in use
        {"threshold 199", [](Binding& b) { b.holdThresholdMs = 199; }, badThreshold},
        {"threshold 200", [](Binding& b) { b.holdThresholdMs = 200; }, ok},
        {"threshold 3000", [](Binding& b) { b.holdThresholdMs = 3000; }, ok},
        {"threshold 3001", [](Binding& b) { b.holdThresholdMs = 3001; }, badThreshold},
        {"threshold 0 without hold",
         [](Binding& b) {
             b.holdEnabled = false;
             b.holdThresholdMs = 0;
         },
         badThreshold},
        // presence of actions
        {"no actions", [](Binding& b) { b.onPress.clear(); }, noAction},
        {"only a disabled action", [](Binding& b) { b.onPress = {disabled(delayAction(1))}; }, ok},
        {"only an unused hold action",
         [](Binding& b) {
             b.onPress.clear();
             b.onHold = {delayAction(1)};
             b.holdEnabled = false;
         },
         ok},
        // the actions themselves, named after the binding
        {"bad On press action", [](Binding& b) { b.onPress = {urlAction(L"ftp://x")}; },
         L"Mail: Enter an absolute http:// or https:// URL."},
        {"bad second On press action", [](Binding& b) { b.onPress.push_back(delayAction(600001)); },
         L"Mail: Delay must be 0-600000 ms."},
        {"bad On hold action", [](Binding& b) { b.onHold = {textAction(L"")}; },
         L"Mail: Enter text (up to 65536 characters)."},
        {"On press before On hold",
         [](Binding& b) {
             b.onHold = {textAction(L"")};
             b.onPress.push_back(clickAction(0));
         },
         L"Mail: Invalid mouse button or click count."},
        {"disabled actions are checked too", [](Binding& b) { b.onPress = {disabled(programAction(L"a.bat"))}; },
         L"Mail: Run program requires an .exe file."},
        {"unused hold list is checked too",
         [](Binding& b) {
             b.holdEnabled = false;
             b.onHold = {layoutAction(L"409")};
         },
         L"Mail: Choose a keyboard layout."},
        {"name as written",
         [](Binding& b) {
             b.name = L" Mail ";
             b.onPress = {keyAction(mouseButton(1))};
         },
         L" Mail : Choose a supported physical key; Ctrl+Alt+Backspace is reserved."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Binding binding = bindingOf(L"{A}", L"Mail");
        c.change(binding);
        EXPECT_EQ(validateConfig(configOf({binding})), c.expected);
    }
}

// A binding that breaks every rule; mending one rule after the other uncovers the next.
TEST(ValidateConfig, RulesAreCheckedInOrder) {
    const Binding earlier = bindingOf(L"{A}", L"Earlier", keyboard(scanF8));
    Binding later;
    later.id = L"bad id";
    later.name = L" ";
    later.trigger = keyboard(scanBackspace, modCtrl | modAlt);
    later.holdThresholdMs = 100;
    struct Step {
        const char* name;
        std::function<void(Binding&)> mend;
        std::wstring expected;
    };
    const Step steps[] = {
        {"all broken", [](Binding&) {}, badId},
        {"id mended", [](Binding& b) { b.id = L"{B}"; }, noName},
        {"name mended", [](Binding& b) { b.name = L"Later"; }, badTrigger},
        {"trigger mended", [](Binding& b) { b.trigger = keyboard(scanF8); }, badThreshold},
        {"threshold mended", [](Binding& b) { b.holdThresholdMs = 500; }, noAction},
        {"bad action added", [](Binding& b) { b.onHold = {urlAction(L"https://")}; },
         L"Later: Enter an absolute http:// or https:// URL."},
        {"action mended", [](Binding& b) { b.onHold = {urlAction(L"https://example.com")}; }, conflictWith(L"Earlier")},
        {"modifiers changed", [](Binding& b) { b.trigger.modifiers = modShift; }, ok},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.mend(later);
        EXPECT_EQ(validateConfig(configOf({earlier, later})), step.expected);
    }
}

TEST(ValidateConfig, IdsAreUniqueAndCaseSensitive) {
    struct Case {
        const char* name;
        std::vector<std::wstring> ids;
        std::wstring expected;
    };
    const Case cases[] = {
        {"distinct", {L"{A}", L"{B}", L"{C}"}, ok},
        {"second repeats the first", {L"{A}", L"{A}"}, badId},
        {"third repeats the first", {L"{A}", L"{B}", L"{A}"}, badId},
        {"differ in case only", {L"{abc}", L"{ABC}"}, ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Config config;
        std::uint32_t code = 0x3B;  // F1, F2, ...: no conflicts
        for (const std::wstring& id : c.ids) config.bindings.push_back(bindingOf(id, L"Name", keyboard(code++)));
        EXPECT_EQ(validateConfig(config), c.expected);
    }
}

TEST(ValidateConfig, ConflictsBetweenTwoBindings) {
    struct Case {
        const char* name;
        Trigger first;
        bool firstEnabled;
        Trigger second;
        bool secondEnabled;
        bool conflict;
    };
    const Case cases[] = {
        {"same key, no modifiers", keyboard(scanF8), true, keyboard(scanF8), true, true},
        {"same key, same modifiers", keyboard(scanF8, modCtrl), true, keyboard(scanF8, modCtrl), true, true},
        {"Ctrl and Ctrl+Shift", keyboard(scanF8, modCtrl), true, keyboard(scanF8, modCtrl | modShift), true, false},
        {"no modifiers and Ctrl", keyboard(scanF8), true, keyboard(scanF8, modCtrl), true, false},
        {"earlier disabled", keyboard(scanF8, modCtrl), false, keyboard(scanF8, modCtrl), true, false},
        {"later disabled", keyboard(scanF8, modCtrl), true, keyboard(scanF8, modCtrl), false, false},
        {"both disabled", keyboard(scanF8, modCtrl), false, keyboard(scanF8, modCtrl), false, false},
        {"keyboard 1 and mouse 1", keyboard(1), true, mouseButton(1), true, false},
        {"left and right Ctrl", keyboard(scanCtrl, modAlt), true, extendedKey(scanCtrl, modAlt), true, false},
        {"Ctrl key and Ctrl bit", keyboard(scanCtrl, modShift), true, keyboard(scanLeftShift, modCtrl), true, false},
        {"same mouse button", mouseButton(3, modCtrl), true, mouseButton(3, modCtrl), true, true},
        {"other mouse button", mouseButton(3), true, mouseButton(4), true, false},
        {"same extended key", extendedKey(0x48), true, extendedKey(0x48), true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Binding first = bindingOf(L"{A}", L"Open mail", c.first);
        first.enabled = c.firstEnabled;
        Binding second = bindingOf(L"{B}", L"Second", c.second);
        second.enabled = c.secondEnabled;
        EXPECT_EQ(validateConfig(configOf({first, second})), c.conflict ? conflictWith(L"Open mail") : ok);
    }
}

TEST(ValidateConfig, ConflictNamesTheEarlierEnabledBinding) {
    struct Case {
        const char* name;
        bool enabled[3];
        std::wstring expected;
    };
    const Case cases[] = {
        {"a disabled binding in between", {true, false, true}, conflictWith(L"A")},
        {"first disabled", {false, true, true}, conflictWith(L"B")},
        {"first two conflict", {true, true, false}, conflictWith(L"A")},
        {"only the last enabled", {false, false, true}, ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Config config;
        const wchar_t* names[] = {L"A", L"B", L"C"};
        for (int i = 0; i < 3; ++i) {
            Binding binding = bindingOf(std::wstring(L"{") + names[i] + L"}", names[i], keyboard(scanF8, modAlt));
            binding.enabled = c.enabled[i];
            config.bindings.push_back(binding);
        }
        EXPECT_EQ(validateConfig(config), c.expected);
    }
}

TEST(ValidateConfig, FirstFaultInListOrderWins) {
    Binding blankName = bindingOf(L"{A}", L" ");
    Binding badAction = bindingOf(L"{A}", L"Bad action", keyboard(0x3B));
    badAction.onPress = {delayAction(600001)};
    Binding noIdF8 = bindingOf(L"", L"No id", keyboard(scanF8));
    Binding clashF8 = bindingOf(L"{C}", L"Clash", keyboard(scanF8));
    Binding clashWithBadAction = clashF8;
    clashWithBadAction.onHold = {clickAction(1, 3)};
    const Binding fine = bindingOf(L"{B}", L"Fine", keyboard(scanF8));
    struct Case {
        const char* name;
        std::vector<Binding> bindings;
        std::wstring expected;
    };
    const Case cases[] = {
        {"earlier name before later id", {blankName, noIdF8}, noName},
        {"earlier action before later id", {badAction, noIdF8}, L"Bad action: Delay must be 0-600000 ms."},
        {"conflict before a later id", {fine, clashF8, noIdF8}, conflictWith(L"Fine")},
        {"own action before the conflict", {fine, clashWithBadAction}, L"Clash: Invalid mouse button or click count."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(validateConfig(configOf(c.bindings)), c.expected);
    }
}

}  // namespace
}  // namespace tavrel
