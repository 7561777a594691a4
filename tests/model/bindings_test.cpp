// New bindings, the predicates on bindings and action lists, and the runtime snapshot.

#include "model/bindings.h"

#include "builders.h"
#include "model/validation.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>

namespace tavrel {
namespace {

using namespace test;

TEST(NewBinding, HasTheDefaultSettings) {
    const Binding binding = newBinding();
    EXPECT_EQ(binding.name, L"");
    EXPECT_TRUE(binding.enabled);
    EXPECT_TRUE(binding.keepOriginalFunction);
    EXPECT_TRUE(binding.holdEnabled);
    EXPECT_EQ(binding.trigger, keyboard(scanF8));
    EXPECT_EQ(binding.holdThresholdMs, 500u);
    EXPECT_TRUE(binding.onPress.empty());
    EXPECT_TRUE(binding.onHold.empty());
}

TEST(NewBinding, GetsAFreshGuidId) {
    const std::wregex guid(L"\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    Binding first = newBinding();
    Binding second = newBinding();
    EXPECT_TRUE(std::regex_match(first.id, guid));
    EXPECT_TRUE(std::regex_match(second.id, guid));
    EXPECT_NE(first.id, second.id);

    // Named, given an action and moved to another key, both are acceptable together.
    first.name = L"First";
    first.onPress = {delayAction(1)};
    second.name = L"Second";
    second.onPress = {delayAction(1)};
    second.trigger.modifiers = modCtrl;
    Config config;
    config.bindings = {first, second};
    EXPECT_EQ(validateConfig(config), L"");
}

TEST(ActionLists, HasEnabledAction) {
    struct Case {
        const char* name;
        std::vector<Action> list;
        bool expected;
    };
    const Case cases[] = {
        {"empty", {}, false},
        {"only disabled", {disabled(delayAction(1)), disabled(textAction(L"x"))}, false},
        {"one enabled after a disabled one", {disabled(delayAction(1)), textAction(L"x")}, true},
        {"enabled", {delayAction(1)}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hasEnabledAction(c.list), c.expected);
    }
}

TEST(ActionLists, RemoveDisabledActionsKeepsTheOrderOfTheRest) {
    std::vector<Action> list = {disabled(textAction(L"0")), textAction(L"1"), disabled(textAction(L"2")),
                                textAction(L"3"), textAction(L"4"), disabled(textAction(L"5"))};
    removeDisabledActions(list);
    EXPECT_EQ(list, (std::vector<Action>{textAction(L"1"), textAction(L"3"), textAction(L"4")}));
}

TEST(BindingPredicates, UsesPreviousLayout) {
    struct Case {
        const char* name;
        std::function<void(Binding&)> change;
        bool expected;
    };
    const Case cases[] = {
        {"no layout action", [](Binding&) {}, false},
        {"previous On press", [](Binding& b) { b.onPress.push_back(layoutAction(L"previous")); }, true},
        {"previous On hold", [](Binding& b) { b.onHold = {layoutAction(L"previous")}; }, true},
        {"previous in the unused hold list",
         [](Binding& b) {
             b.onHold = {layoutAction(L"previous")};
             b.holdEnabled = false;
         },
         false},
        {"disabled previous", [](Binding& b) { b.onPress = {disabled(layoutAction(L"previous"))}; }, false},
        {"a chosen layout", [](Binding& b) { b.onPress = {layoutAction(L"00000409")}; }, false},
        {"previous left in another type",
         [](Binding& b) {
             Action url = urlAction(L"https://example.com");
             url.layoutId = L"previous";
             b.onPress = {url};
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Binding binding = bindingOf(L"{A}", L"A");
        c.change(binding);
        EXPECT_EQ(usesPreviousLayout(binding), c.expected);
    }
}

TEST(BindingPredicates, InvolvesWinKey) {
    struct Case {
        Trigger trigger;
        bool expected;
    };
    const Case cases[] = {
        {extendedKey(scanLeftWin), true},
        {extendedKey(scanRightWin, modShift), true},
        {keyboard(scanF8, modWin), true},
        {keyboard(scanF8, modCtrl | modWin), true},
        {mouseButton(4, modWin), true},
        {keyboard(scanF8, modCtrl | modAlt | modShift), false},
        {keyboard(scanLeftWin), false},
        {extendedKey(0x5D), false},
        {mouseButton(4), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.trigger));
        Binding binding = bindingOf(L"{A}", L"A", c.trigger);
        EXPECT_EQ(involvesWinKey(binding), c.expected);
    }
}

// What one binding becomes in the snapshot: nothing, or a filtered copy.
TEST(RuntimeSnapshot, KeepsOnlyWhatCanRun) {
    struct Case {
        const char* name;
        std::function<void(Binding&)> change;
        bool kept;
        std::function<void(Binding&)> expectedChange;
    };
    const auto none = [](Binding&) {};
    const Case cases[] = {
        {"unchanged", none, true, none},
        {"disabled binding", [](Binding& b) { b.enabled = false; }, false, none},
        {"disabled actions dropped from both lists",
         [](Binding& b) {
             b.onPress = {disabled(textAction(L"0")), textAction(L"1"), disabled(textAction(L"2")), textAction(L"3")};
             b.onHold = {textAction(L"4"), disabled(textAction(L"5"))};
         },
         true,
         [](Binding& b) {
             b.onPress = {textAction(L"1"), textAction(L"3")};
             b.onHold = {textAction(L"4")};
         }},
        {"unused hold list emptied",
         [](Binding& b) {
             b.holdEnabled = false;
             b.onHold = {textAction(L"hold")};
         },
         true, [](Binding& b) { b.onHold.clear(); }},
        {"hold list only",
         [](Binding& b) {
             b.onPress.clear();
             b.onHold = {textAction(L"hold")};
         },
         true, none},
        {"only action disabled", [](Binding& b) { b.onPress = {disabled(textAction(L"x"))}; }, false, none},
        {"only action in the unused hold list",
         [](Binding& b) {
             b.onPress.clear();
             b.onHold = {textAction(L"hold")};
             b.holdEnabled = false;
         },
         false, none},
        {"other settings carried over",
         [](Binding& b) {
             b.keepOriginalFunction = false;
             b.holdThresholdMs = 1234;
             b.trigger = mouseButton(4, modCtrl | modShift);
         },
         true, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Binding binding = bindingOf(L"{A}", L"A");
        c.change(binding);
        Config config;
        config.bindings = {binding};
        const RuntimeBindings snapshot = makeRuntimeBindings(config);
        if (!c.kept) {
            EXPECT_TRUE(snapshot.empty());
            continue;
        }
        ASSERT_EQ(snapshot.size(), 1u);
        ASSERT_NE(snapshot[0], nullptr);
        Binding expected = binding;
        c.expectedChange(expected);
        EXPECT_EQ(*snapshot[0], expected);
    }
}

// The original key function is blocked when the binding, as the runtime gets it,
// still returns to the previous layout.
TEST(RuntimeSnapshot, PreviousLayoutForcesBlocking) {
    struct Case {
        const char* name;
        std::function<void(Binding&)> change;
        bool keepOriginalFunction;
    };
    const Case cases[] = {
        {"previous On press", [](Binding& b) { b.onPress = {layoutAction(L"previous")}; }, false},
        {"previous after other steps", [](Binding& b) { b.onPress.push_back(layoutAction(L"previous")); }, false},
        {"previous On hold", [](Binding& b) { b.onHold = {layoutAction(L"previous")}; }, false},
        {"previous in the unused hold list",
         [](Binding& b) {
             b.holdEnabled = false;
             b.onHold = {layoutAction(L"previous")};
         },
         true},
        {"previous disabled", [](Binding& b) { b.onPress.push_back(disabled(layoutAction(L"previous"))); }, true},
        {"a chosen layout", [](Binding& b) { b.onPress = {layoutAction(L"00000409")}; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Binding binding = bindingOf(L"{A}", L"A");
        binding.keepOriginalFunction = true;
        c.change(binding);
        Config config;
        config.bindings = {binding};
        const RuntimeBindings snapshot = makeRuntimeBindings(config);
        ASSERT_EQ(snapshot.size(), 1u);
        EXPECT_EQ(snapshot[0]->keepOriginalFunction, c.keepOriginalFunction);
    }
}

TEST(RuntimeSnapshot, KeepsTheListOrderOfTheKeptBindings) {
    Config config;
    for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E"}) config.bindings.push_back(bindingOf(name, name));
    config.bindings[1].enabled = false;
    config.bindings[3].onPress = {disabled(delayAction(1))};
    std::vector<std::wstring> names;
    for (const auto& binding : makeRuntimeBindings(config)) names.push_back(binding->name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"A", L"C", L"E"}));
    EXPECT_TRUE(makeRuntimeBindings(Config{}).empty());
}

}  // namespace
}  // namespace tavrel
