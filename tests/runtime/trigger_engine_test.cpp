// Recognition driven by exact event sequences with exact times: press, hold, modifiers,
// keep or block, the stop combination, our own windows in front, and input reset.

#include "engine_fixture.h"

#include "model/keys.h"

namespace tavrel {
namespace {

using namespace test;
using Runs = std::vector<std::string>;

TEST_F(EngineTest, PressQueuesOnKeyDownOnceAndRepeatsOrReleaseQueueNothing) {
    use({binding("F8", f8())});
    down(f8(), 1000);
    EXPECT_EQ(runs, Runs{"F8 press"});
    down(f8(), 1030);
    down(f8(), 1060);
    up(f8(), 1100);
    EXPECT_EQ(runs, Runs{"F8 press"});
    down(f8(), 2000);
    EXPECT_EQ(runs, (Runs{"F8 press", "F8 press"}));
}

TEST_F(EngineTest, BlockSwallowsDownRepeatsAndReleaseTogetherKeepPassesThemAll) {
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept" : "blocked");
        use({binding("F8", f8(), keep)});
        EXPECT_EQ(down(f8(), 1000), !keep);
        EXPECT_EQ(down(f8(), 1030), !keep);
        EXPECT_EQ(up(f8(), 1100), !keep);
        // An unbound key is never swallowed.
        EXPECT_FALSE(down(keyA(), 1200));
        EXPECT_FALSE(up(keyA(), 1210));
    }
}

TEST_F(EngineTest, ABlockedPressStaysSwallowedUntilItsReleaseAcrossABindingChange) {
    use({binding("F8", f8(), false)});
    EXPECT_TRUE(down(f8()));
    use({});
    EXPECT_TRUE(down(f8(), 1030));
    EXPECT_TRUE(up(f8(), 1100));
    EXPECT_FALSE(down(f8(), 1200));
}

TEST_F(EngineTest, HoldThresholdDecidesBetweenPressAndHoldEvenWhenTheReleaseComesFirst) {
    struct Case {
        std::uint64_t releaseAfter;
        Runs expected;
    };
    for (const Case& c : {Case{0, {"F8 press"}}, Case{499, {"F8 press"}}, Case{500, {"F8 hold"}},
                          Case{2000, {"F8 hold"}}}) {
        SCOPED_TRACE(c.releaseAfter);
        runs.clear();
        use({binding("F8", f8(), true, 500)});
        down(f8(), 10000);
        EXPECT_TRUE(runs.empty()) << "a binding with hold actions waits";
        up(f8(), 10000 + c.releaseAfter);
        EXPECT_EQ(runs, c.expected);
    }
}

TEST_F(EngineTest, HoldTimerFiresAtTheDeadlineAndTheLaterReleaseQueuesNothing) {
    use({binding("F8", f8(), true, 500)});
    down(f8(), 10000);
    ASSERT_EQ(engine.holdDeadline(), std::optional<std::uint64_t>(10500));
    engine.onHoldTimer(10499, false);
    EXPECT_TRUE(runs.empty());
    engine.onHoldTimer(10500, false);
    EXPECT_EQ(runs, Runs{"F8 hold"});
    EXPECT_FALSE(engine.holdDeadline());
    down(f8(), 10530);  // auto-repeat
    up(f8(), 11000);
    EXPECT_EQ(runs, Runs{"F8 hold"});
}

TEST_F(EngineTest, HoldTimerClearsWaitingPressesWhileOurProcessIsInFront) {
    use({binding("F8", f8(), true, 500)});
    down(f8(), 10000);
    engine.onHoldTimer(10200, true);
    up(f8(), 10300);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, ModifiersMustBeExactlyTheTriggersLeftAndRightAlike) {
    struct Case {
        const char* what;
        std::vector<Trigger> held;
        bool matches;
    };
    for (const Case& c : {Case{"Left Ctrl", {leftCtrl()}, true}, Case{"Right Ctrl", {rightCtrl()}, true},
                          Case{"both Ctrl keys", {leftCtrl(), rightCtrl()}, true},
                          Case{"Ctrl and Shift", {leftCtrl(), leftShift()}, false},
                          Case{"no modifier", {}, false}, Case{"Alt", {leftAlt()}, false}}) {
        SCOPED_TRACE(c.what);
        TriggerEngine fresh;
        engine = fresh;
        engine.enqueue = [this](Job job) { runs.push_back(runName(job)); };
        runs.clear();
        use({binding("Ctrl+F8", keyboard(scanF8, modCtrl))});
        for (const Trigger& key : c.held) down(key);
        down(f8());
        EXPECT_EQ(runs.size(), c.matches ? 1u : 0u);
    }
}

TEST_F(EngineTest, ReleasingTheModifierBeforeAHoldFiresCancelsThePress) {
    use({binding("Ctrl+F8", keyboard(scanF8, modCtrl), true, 500)});
    down(leftCtrl(), 9900);
    down(f8(), 10000);
    up(leftCtrl(), 10100);
    engine.onHoldTimer(10600, false);
    up(f8(), 10700);
    EXPECT_TRUE(runs.empty());
    EXPECT_FALSE(engine.holdDeadline());
}

TEST_F(EngineTest, AddingAModifierWhileAPressWaitsCancelsIt) {
    use({binding("Ctrl+F8", keyboard(scanF8, modCtrl), true, 500)});
    down(leftCtrl(), 9900);
    down(f8(), 10000);
    down(leftShift(), 10100);
    up(f8(), 10200);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, ModifierKeyTriggerQueuesOnReleaseUnlessAnotherKeyWasPressed) {
    use({binding("Ctrl", leftCtrl(), true)});
    down(leftCtrl(), 1000);
    down(leftCtrl(), 1030);  // auto-repeat
    EXPECT_TRUE(runs.empty());
    up(leftCtrl(), 1100);
    EXPECT_EQ(runs, Runs{"Ctrl press"});

    runs.clear();
    down(leftCtrl(), 2000);
    EXPECT_FALSE(down(keyC(), 2050)) << "C reaches the foreground program";
    EXPECT_FALSE(up(keyC(), 2080));
    up(leftCtrl(), 2100);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, RightCtrlDoesNotTriggerALeftCtrlBinding) {
    use({binding("Ctrl", leftCtrl(), true)});
    down(rightCtrl());
    up(rightCtrl(), 1100);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, StopCombinationIsSwallowedAndStopsEverythingWhateverTheState) {
    struct Case {
        const char* what;
        bool paused;
        bool ourWindowInFront;
        bool withShift;
    };
    for (const Case& c : {Case{"active", false, false, false}, Case{"paused", true, false, false},
                          Case{"our window in front", false, true, false},
                          Case{"with Shift", false, false, true}, Case{"with Shift, paused", true, true, true}}) {
        SCOPED_TRACE(c.what);
        TriggerEngine fresh;
        engine = fresh;
        stops = 0;
        engine.onStopAll = [this] { ++stops; };
        engine.setEnabled(!c.paused);
        facts.ownProcessInFront = c.ourWindowInFront;
        facts.mainWindowInFront = c.ourWindowInFront;
        down(leftCtrl());
        down(leftAlt());
        if (c.withShift) down(leftShift());
        EXPECT_TRUE(down(backspace()));
        EXPECT_TRUE(down(backspace(), 1030)) << "repeat";
        EXPECT_TRUE(up(backspace(), 1100));
        EXPECT_EQ(stops, 1);
        up(leftAlt(), 1150);
        EXPECT_FALSE(down(backspace(), 1200)) << "without Alt, Backspace is an ordinary key";
        EXPECT_EQ(stops, 1);
    }
}

TEST_F(EngineTest, StopCombinationClearsAWaitingHold) {
    use({binding("F8", f8(), true, 500)});
    down(f8(), 10000);
    down(leftCtrl(), 10010);
    down(leftAlt(), 10020);
    down(backspace(), 10030);
    engine.onHoldTimer(10600, false);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, NothingMatchesWhileOurProcessIsInFront) {
    use({binding("F8", f8(), false), binding("Left", mouseButton(1), false)});
    facts.ownProcessInFront = true;
    EXPECT_FALSE(down(f8()));
    EXPECT_FALSE(up(f8(), 1100));
    facts.mouse = true;  // a click on one of our windows
    EXPECT_FALSE(down(mouseButton(1)));
    EXPECT_FALSE(up(mouseButton(1), 1100));
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, ComingToTheFrontClearsAWaitingPress) {
    use({binding("F8", f8(), true, 500)});
    down(f8(), 10000);
    facts.ownProcessInFront = true;
    down(keyA(), 10100);
    facts.ownProcessInFront = false;
    up(f8(), 10200);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, MainWindowInFrontGetsTheHeldKeysAndNothingMatches) {
    use({binding("Ctrl+F8", keyboard(scanF8, modCtrl), false)});
    facts.ownProcessInFront = true;
    facts.mainWindowInFront = true;
    struct Step {
        Trigger key;
        bool down;
        std::uint32_t modifiers;
        LPARAM key_id;
    };
    const KeyId f8Id = keyId(f8());
    for (const Step& s : {Step{leftCtrl(), true, modCtrl, -1}, Step{f8(), true, modCtrl, static_cast<LPARAM>(f8Id)},
                          Step{f8(), true, modCtrl, static_cast<LPARAM>(f8Id)},
                          Step{leftShift(), true, modCtrl | modShift, static_cast<LPARAM>(f8Id)},
                          Step{f8(), false, modCtrl | modShift, -1}, Step{leftShift(), false, modCtrl, -1},
                          Step{leftCtrl(), false, 0, -1}}) {
        const InputDecision decision = engine.processInput(s.key, s.down, 1000, facts);
        EXPECT_TRUE(decision.postKeyFilter);
        EXPECT_EQ(decision.filterModifiers, s.modifiers);
        EXPECT_EQ(decision.filterKey, s.key_id);
        EXPECT_FALSE(decision.swallow());
    }
    EXPECT_TRUE(runs.empty());
    facts = {};
    EXPECT_FALSE(engine.processInput(keyA(), true, 1000, facts).postKeyFilter);
}

TEST_F(EngineTest, UnsupportedKeysNeverMatchAndAreNeverSwallowed) {
    use({binding("F8", f8(), false)});
    const Trigger pause = keyboard(0);
    EXPECT_FALSE(down(pause));
    EXPECT_FALSE(up(pause));
    EXPECT_FALSE(down(keyboard(0x59)));  // outside the key table
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, PausedRecognitionQueuesNothingAndAPressFromBeforeResumingStaysSilent) {
    use({binding("F8", f8(), true, 500)});
    engine.setEnabled(false);
    down(f8(), 1000);
    up(f8(), 1100);
    EXPECT_TRUE(runs.empty());
    down(f8(), 2000);
    engine.setEnabled(true);
    up(f8(), 2100);
    EXPECT_TRUE(runs.empty());
}

TEST_F(EngineTest, FirstBindingInSnapshotOrderWins) {
    use({binding("other key", keyA()), binding("Shift+F8", keyboard(scanF8, modShift)), binding("first", f8()),
         binding("second", f8())});
    down(f8());
    EXPECT_EQ(runs, Runs{"first press"});
}

TEST_F(EngineTest, MouseButtonsAreTriggersLikeKeys) {
    use({binding("X1", mouseButton(4), false)});
    facts.mouse = true;
    EXPECT_TRUE(down(mouseButton(4)));
    EXPECT_TRUE(up(mouseButton(4), 1100));
    EXPECT_EQ(runs, Runs{"X1 press"});
}

TEST_F(EngineTest, ModifierStampNamesOneUninterruptedHoldingOfTheModifiers) {
    use({binding("Ctrl+F8", keyboard(scanF8, modCtrl))});
    down(leftCtrl(), 1000);
    down(f8(), 1010);
    up(f8(), 1020);
    down(rightCtrl(), 1030);  // Ctrl stays held throughout
    up(leftCtrl(), 1040);
    down(f8(), 1050);
    up(f8(), 1060);
    up(rightCtrl(), 1070);
    down(leftCtrl(), 1080);
    down(f8(), 1090);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_NE(jobs[0].modifierStamp, 0u);
    EXPECT_EQ(jobs[0].modifierStamp, jobs[1].modifierStamp);
    EXPECT_NE(jobs[1].modifierStamp, jobs[2].modifierStamp);
    use({binding("F8", f8())});
    up(f8(), 1100);
    up(leftCtrl(), 1100);
    down(f8(), 1200);
    EXPECT_EQ(jobs.back().modifierStamp, 0u) << "a binding without modifiers";
}

TEST_F(EngineTest, InputResetFindsHeldKeysButTheirPressIsNotRecognised) {
    use({binding("F8", f8(), false), binding("Ctrl+A", keyboard(0x1E, modCtrl))});
    down(f8(), 1000);
    ASSERT_EQ(runs.size(), 1u);
    const auto held = [](const Trigger& key) { return keyId(key) == keyId(f8()) || keyId(key) == keyId(leftCtrl()); };
    engine.resetInput(held);
    EXPECT_TRUE(engine.isDown(keyId(f8())));
    EXPECT_EQ(engine.currentModifiers(), modCtrl);
    EXPECT_NE(engine.modifierSince(modCtrl), 0u);
    EXPECT_FALSE(down(f8(), 1030)) << "no fresh press, and the old swallowing is forgotten";
    EXPECT_FALSE(up(f8(), 1100));
    EXPECT_EQ(runs.size(), 1u);
    down(keyA(), 1200);  // Ctrl found held still counts as a modifier
    EXPECT_EQ(runs.back(), "Ctrl+A press");
}

}  // namespace
}  // namespace tavrel
