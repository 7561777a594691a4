// The Windows-key hold-back: which Windows-key and other events are swallowed, what is
// injected in their place, and how the two keys' states move.

#include "runtime/win_key_step.h"

#include "../model/builders.h"
#include "model/keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

using test::extendedKey;
using test::keyboard;
using test::mouseButton;

const Trigger lwin = extendedKey(scanLeftWin);
const Trigger rwin = extendedKey(scanRightWin);
const Trigger keyE = keyboard(0x12);
const Trigger keyA = keyboard(0x1E);
const Trigger keyS = keyboard(0x1F);
const Trigger lshift = keyboard(scanLeftShift);
const Trigger rshift = keyboard(scanRightShift);
const Trigger lctrl = keyboard(scanCtrl);
const Trigger rctrl = extendedKey(scanCtrl);
const Trigger lalt = keyboard(scanAlt);
const Trigger ralt = extendedKey(scanAlt);
const Trigger plain5B = keyboard(scanLeftWin);  // not a Windows key: that one is extended
const Trigger button1 = mouseButton(1);

std::string keyName(const Trigger& key) {
    switch (keyId(key)) {
    case 0x15B: return "LWin";
    case 0x15C: return "RWin";
    case 0x12: return "E";
    case 0x1E: return "A";
    case 0x1F: return "S";
    case 0x5B: return "plain 5B";
    case 0x201: return "Button1";
    default: return test::describe(key);
    }
}

std::string stateName(WinKey key) {
    switch (key) {
    case WinKey::up: return "up";
    case WinKey::heldBack: return "heldBack";
    case WinKey::consumed: return "consumed";
    case WinKey::passed: return "passed";
    case WinKey::stale: return "stale";
    }
    return "invalid " + std::to_string(static_cast<int>(key));
}

std::string describe(const WinKeyState& state) {
    return "left " + stateName(state.left) + ", right " + stateName(state.right) +
           (state.otherKey ? ", otherKey" : ", no otherKey");
}

std::string describe(const ForwardedEvent& event) {
    std::string text = keyName(event.key) + (event.down ? " down" : " up");
    if (event.key.modifiers != 0) text += " with modifiers";
    return text;
}

// The event facts besides the key. Most events arrive while hold-back is active.
struct Facts {
    bool m = false;
    bool holdBack = true;
    bool otherDown = false;
};

struct Answer {
    bool swallow = false;
    bool maskStart = false;
    std::vector<ForwardedEvent> events{};
};

std::string describe(const Answer& answer) {
    std::string text = answer.swallow ? "swallowed" : "passed on";
    if (answer.maskStart) text += ", mask";
    for (std::size_t i = 0; i < answer.events.size(); ++i) {
        text += (i == 0 ? ", inject: " : ", ") + describe(answer.events[i]);
    }
    return text;
}

enum class Op { event, consume, reset, foundDown, notSent, expectState };

struct Step {
    Op op = Op::event;
    Trigger key{};
    bool down = false;
    Facts facts{};
    Answer answer{};
    WinKeyState state{};  // for expectState
};

Step press(Trigger key, Answer answer, Facts facts = {}) { return {Op::event, key, true, facts, std::move(answer)}; }
Step release(Trigger key, Answer answer, Facts facts = {}) { return {Op::event, key, false, facts, std::move(answer)}; }
Step consume() { return {Op::consume}; }
Step reset() { return {Op::reset}; }
Step foundDown(Trigger key) { return {Op::foundDown, key}; }
Step notSent(Trigger key) { return {Op::notSent, key}; }
Step expect(WinKeyState state) { return {.op = Op::expectState, .state = state}; }

const Answer swallowed{true};
const Answer passedOn{false};
Answer inject(std::vector<ForwardedEvent> events) { return {true, false, std::move(events)}; }
Answer masked(bool swallow) { return {swallow, true}; }
ForwardedEvent dn(Trigger key) { return {key, true}; }
ForwardedEvent up(Trigger key) { return {key, false}; }

const Facts bound{.m = true};
const Facts boundOff{.m = true, .holdBack = false};
const Facts off{.holdBack = false};
const Facts othersDown{.otherDown = true};

constexpr WinKey U = WinKey::up, H = WinKey::heldBack, C = WinKey::consumed, P = WinKey::passed, S = WinKey::stale;

struct Sequence {
    const char* name;
    std::vector<Step> steps;
    WinKeyState final;
};

void play(const Sequence& sequence) {
    SCOPED_TRACE(sequence.name);
    WinKeyState state;
    for (std::size_t i = 0; i < sequence.steps.size(); ++i) {
        const Step& step = sequence.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1));
        switch (step.op) {
        case Op::event: {
            const WinDecision decision =
                winKeyStep(state, step.key, step.down, step.facts.m, step.facts.holdBack, step.facts.otherDown);
            ASSERT_LE(decision.eventCount, decision.events.size());
            Answer actual{decision.swallow, decision.maskStart};
            actual.events.assign(decision.events.begin(), decision.events.begin() + decision.eventCount);
            EXPECT_EQ(describe(actual), describe(step.answer))
                << keyName(step.key) << (step.down ? " down" : " up");
            break;
        }
        case Op::consume: consumeWinKeys(state); break;
        case Op::reset: resetWinKeys(state); break;
        case Op::foundDown: winKeyFoundDown(state, step.key); break;
        case Op::notSent: winKeyNotSent(state, step.key); break;
        case Op::expectState: EXPECT_EQ(describe(state), describe(step.state)); break;
        }
    }
    EXPECT_EQ(describe(state), describe(sequence.final)) << "final states";
}

void playAll(const std::vector<Sequence>& sequences) {
    for (const Sequence& sequence : sequences) play(sequence);
}

TEST(WinKeyStep, ReplaysALoneTapSoThatTheStartMenuStillOpens) {
    playAll({
        {"left Win tapped",
         {press(lwin, swallowed), expect({H, U, false}), release(lwin, inject({dn(lwin), up(lwin)}))},
         {U, U, false}},
        {"right Win tapped replays the right key",
         {press(rwin, swallowed), release(rwin, inject({dn(rwin), up(rwin)}))},
         {U, U, false}},
        {"auto-repeat of a held-back Win is swallowed and keeps it a lone tap",
         {press(lwin, swallowed), press(lwin, swallowed), press(lwin, swallowed), expect({H, U, false}),
          release(lwin, inject({dn(lwin), up(lwin)}))},
         {U, U, false}},
        {"a stale Win pressed again is held back afresh",
         {press(lwin, swallowed), reset(), expect({S, U, false}), press(lwin, swallowed), expect({H, U, false}),
          release(lwin, inject({dn(lwin), up(lwin)}))},
         {U, U, false}},
        {"both Windows keys tapped together: only the last one released replays",
         {press(lwin, swallowed), press(rwin, swallowed), expect({H, H, false}), release(lwin, swallowed),
          release(rwin, inject({dn(rwin), up(rwin)}))},
         {U, U, false}},
        {"a tap after a combination is a lone tap again",
         {press(lwin, swallowed), press(lshift, passedOn), release(lshift, passedOn), release(lwin, swallowed),
          press(lwin, swallowed), release(lwin, inject({dn(lwin), up(lwin)}))},
         {U, U, false}},
    });
}

TEST(WinKeyStep, ForwardsTheWindowsKeysWithTheKeyOfASystemShortcut) {
    playAll({
        {"Win+E: Win down and E down are injected instead of the real E down",
         {press(lwin, swallowed), press(keyE, inject({dn(lwin), dn(keyE)})), expect({P, U, true}),
          press(keyE, passedOn), release(keyE, passedOn), release(lwin, passedOn)},
         {U, U, false}},
        {"right Win+E forwards the right key",
         {press(rwin, swallowed), press(keyE, inject({dn(rwin), dn(keyE)})), release(keyE, passedOn),
          release(rwin, passedOn)},
         {U, U, false}},
        {"both Windows keys held: left, then right, then the key",
         {press(rwin, swallowed), press(lwin, swallowed), press(keyE, inject({dn(lwin), dn(rwin), dn(keyE)})),
          expect({P, P, true}), release(keyE, passedOn), release(lwin, passedOn), expect({U, P, true}),
          release(rwin, passedOn)},
         {U, U, false}},
        {"Win+Shift+S: Shift passes at once, S brings the Win key",
         {press(lwin, swallowed), press(lshift, passedOn), press(keyS, inject({dn(lwin), dn(keyS)})),
          release(keyS, passedOn), release(lshift, passedOn), release(lwin, passedOn)},
         {U, U, false}},
        {"Win and a mouse click forwards the button",
         {press(lwin, swallowed), press(button1, inject({dn(lwin), dn(button1)})), release(button1, passedOn),
          release(lwin, passedOn)},
         {U, U, false}},
        {"the unextended scan 0x5B is an ordinary key",
         {press(plain5B, passedOn), release(plain5B, passedOn), expect({U, U, false}), press(lwin, swallowed),
          press(plain5B, inject({dn(lwin), dn(plain5B)})), release(lwin, passedOn)},
         {U, U, false}},
        {"a Win pressed while another key is down is consumed and still forwarded by the next key",
         {press(lwin, swallowed, othersDown), expect({C, U, true}), press(keyE, inject({dn(lwin), dn(keyE)})),
          release(lwin, passedOn)},
         {U, U, false}},
        {"forwarding continues while the program's own window is in front",
         {press(lwin, swallowed), press(keyE, inject({dn(lwin), dn(keyE)}), off), release(lwin, passedOn, off)},
         {U, U, false}},
        {"with one Win passed and the other held back only the held-back one is forwarded",
         {press(lwin, passedOn, off), press(rwin, swallowed), press(keyE, inject({dn(rwin), dn(keyE)})),
          release(rwin, passedOn), release(lwin, passedOn)},
         {U, U, false}},
    });
}

TEST(WinKeyStep, ModifiersPressedWhileWinIsHeldBackOnlyEndTheLoneTap) {
    for (const Trigger& modifier : {lshift, rshift, lctrl, rctrl, lalt, ralt}) {
        SCOPED_TRACE(test::describe(modifier));
        play({"Win + modifier, released",
              {press(lwin, swallowed), press(modifier, passedOn), expect({H, U, true}), press(modifier, passedOn),
               release(modifier, passedOn), release(lwin, swallowed)},
              {U, U, false}});
    }
}

TEST(WinKeyStep, AKeySwallowedByABindingConsumesTheHeldBackWindowsKeys) {
    playAll({
        {"Win+A bound: nothing reaches the system, the Win release is swallowed",
         {press(lwin, swallowed), press(keyA, swallowed, bound), expect({C, U, true}), press(keyA, swallowed, bound),
          release(keyA, swallowed, bound), release(lwin, swallowed)},
         {U, U, false}},
        {"a bound modifier consumes as well",
         {press(lwin, swallowed), press(lctrl, swallowed, bound), release(lctrl, swallowed, bound),
          release(lwin, swallowed)},
         {U, U, false}},
        {"both held back: both consumed",
         {press(lwin, swallowed), press(rwin, swallowed), press(keyA, swallowed, bound), expect({C, C, true}),
          release(rwin, swallowed), release(lwin, swallowed)},
         {U, U, false}},
        {"a consumed Win is forwarded by a later unbound key",
         {press(lwin, swallowed), press(keyA, swallowed, bound), release(keyA, swallowed, bound),
          press(keyE, inject({dn(lwin), dn(keyE)})), release(keyE, passedOn), release(lwin, passedOn)},
         {U, U, false}},
        {"a Win release swallowed by a binding injects no tap",
         {press(lwin, swallowed), release(lwin, swallowed, bound)},
         {U, U, false}},
    });
}

TEST(WinKeyStep, ABoundKeyMasksTheStartMenuOfAWindowsKeyTheSystemHasSeen) {
    playAll({
        {"Win passed without hold-back, then a bound key",
         {press(lwin, passedOn, off), press(keyA, masked(true), bound), press(keyA, masked(true), bound),
          release(keyA, swallowed, bound), release(lwin, passedOn)},
         {U, U, false}},
        {"after a forwarded shortcut",
         {press(lwin, swallowed), press(keyE, inject({dn(lwin), dn(keyE)})), release(keyE, passedOn),
          press(keyA, masked(true), bound), release(lwin, passedOn)},
         {U, U, false}},
        {"one passed, one held back: the held-back one is consumed and the start menu masked",
         {press(rwin, passedOn, off), press(lwin, swallowed), press(keyA, masked(true), bound), expect({C, P, true}),
          release(lwin, swallowed), expect({U, P, true}), release(rwin, passedOn)},
         {U, U, false}},
        {"a bound key with only a held-back Win needs no mask",
         {press(lwin, swallowed), press(keyA, swallowed, bound), release(lwin, swallowed)},
         {U, U, false}},
    });
}

TEST(WinKeyStep, AWindowsKeyPressSwallowedByABindingOrCaptureIsConsumed) {
    playAll({
        {"first press swallowed, also without hold-back",
         {press(lwin, swallowed, boundOff), expect({C, U, true}), release(lwin, swallowed, boundOff)},
         {U, U, false}},
        {"it consumes the other held-back key",
         {press(rwin, swallowed), press(lwin, swallowed, bound), expect({C, C, true}), release(lwin, swallowed, bound),
          release(rwin, swallowed)},
         {U, U, false}},
        {"a swallowed auto-repeat consumes the held-back key",
         {press(lwin, swallowed), press(lwin, swallowed, bound), expect({C, U, true}), release(lwin, swallowed)},
         {U, U, false}},
    });
}

TEST(WinKeyStep, WithoutHoldBackTheWindowsKeysPassUntouched) {
    playAll({
        {"tap",
         {press(lwin, passedOn, off), expect({P, U, false}), press(lwin, passedOn, off), release(lwin, passedOn, off)},
         {U, U, false}},
        {"Win+E typed while hold-back is off",
         {press(lwin, passedOn, off), press(keyE, passedOn, off), expect({P, U, true}), release(keyE, passedOn, off),
          release(lwin, passedOn, off)},
         {U, U, false}},
        {"a passed Win's auto-repeat passes even with hold-back back on",
         {press(lwin, passedOn, off), press(lwin, passedOn), release(lwin, passedOn)},
         {U, U, false}},
        {"keys with no Windows key held are left alone, swallowed or not",
         {press(keyE, passedOn), press(keyA, swallowed, bound), release(keyA, swallowed, bound), release(keyE, passedOn),
          expect({U, U, false})},
         {U, U, false}},
        {"the system saw a passed Win go down, so its release passes even when swallowed so far",
         {press(lwin, passedOn, off), release(lwin, passedOn, boundOff)},
         {U, U, false}},
        {"a Windows-key release never seen down keeps the answer so far",
         {release(lwin, passedOn), release(rwin, swallowed, bound)},
         {U, U, false}},
    });
}

TEST(WinKeyStep, OtherKeyLastsUntilBothWindowsKeysAreUp) {
    playAll({
        {"the second Win pressed after Shift is consumed, and the first gives no tap",
         {press(lwin, swallowed), press(lshift, passedOn), release(lshift, passedOn), press(rwin, swallowed),
          expect({H, C, true}), release(rwin, swallowed), expect({H, U, true}), release(lwin, swallowed)},
         {U, U, false}},
        {"a Win pressed while the other is held does not read otherDown",
         {press(lwin, swallowed), press(rwin, swallowed, othersDown), expect({H, H, false}), release(rwin, swallowed),
          release(lwin, inject({dn(lwin), up(lwin)}))},
         {U, U, false}},
    });
}

TEST(WinKeyStep, ChangesOutsideTheEventsDecideWhatTheReleaseDoes) {
    playAll({
        {"consumed while held back (new bindings, Stop all): release swallowed, no tap",
         {press(lwin, swallowed), consume(), expect({C, U, true}), release(lwin, swallowed)},
         {U, U, false}},
        {"consumed while passed: still passed",
         {press(lwin, passedOn, off), consume(), expect({P, U, true}), release(lwin, passedOn)},
         {U, U, false}},
        {"reset while held back: stale, release swallowed, no tap",
         {press(lwin, swallowed), press(rwin, swallowed), reset(), expect({S, S, false}), release(lwin, swallowed),
          release(rwin, swallowed)},
         {U, U, false}},
        {"reset of a passed Win forgets it: its release passes",
         {press(lwin, passedOn, off), reset(), expect({U, U, false}), release(lwin, passedOn)},
         {U, U, false}},
        {"reset, then resync finds a passed Win still down",
         {press(lwin, passedOn, off), reset(), foundDown(lwin), expect({P, U, false}), press(keyE, passedOn),
          release(lwin, passedOn)},
         {U, U, false}},
        {"resync finds a Win down that was never seen",
         {foundDown(rwin), expect({U, P, false}), press(keyA, masked(true), bound), release(rwin, passedOn)},
         {U, U, false}},
        {"a forwarded Win down that was not sent: the release is swallowed",
         {press(lwin, swallowed), press(keyE, inject({dn(lwin), dn(keyE)})), notSent(lwin), expect({C, U, true}),
          release(keyE, passedOn), release(lwin, swallowed)},
         {U, U, false}},
    });
}

TEST(WinKeyStateChanges, MoveOnlyTheStatesTheyName) {
    struct Case {
        const char* name;
        void (*change)(WinKeyState&);
        WinKeyState before;
        WinKeyState after;
    };
    const Case cases[] = {
        {"consume", consumeWinKeys, {H, H, false}, {C, C, true}},
        {"consume", consumeWinKeys, {P, S, false}, {P, S, true}},
        {"consume", consumeWinKeys, {U, C, false}, {U, C, true}},
        {"reset", resetWinKeys, {H, P, true}, {S, U, false}},
        {"reset", resetWinKeys, {C, S, true}, {S, S, false}},
        {"reset", resetWinKeys, {U, U, true}, {U, U, false}},
        {"found down: left", [](WinKeyState& s) { winKeyFoundDown(s, lwin); }, {U, U, true}, {P, U, true}},
        {"found down: right", [](WinKeyState& s) { winKeyFoundDown(s, rwin); }, {U, U, false}, {U, P, false}},
        {"found down: left", [](WinKeyState& s) { winKeyFoundDown(s, lwin); }, {H, U, false}, {H, U, false}},
        {"found down: left", [](WinKeyState& s) { winKeyFoundDown(s, lwin); }, {S, C, false}, {S, C, false}},
        {"found down: other key", [](WinKeyState& s) { winKeyFoundDown(s, keyE); }, {U, U, false}, {U, U, false}},
        {"found down: plain 0x5B", [](WinKeyState& s) { winKeyFoundDown(s, plain5B); }, {U, U, false}, {U, U, false}},
        {"not sent: right", [](WinKeyState& s) { winKeyNotSent(s, rwin); }, {P, P, true}, {P, C, true}},
        {"not sent: left", [](WinKeyState& s) { winKeyNotSent(s, lwin); }, {H, U, false}, {H, U, false}},
        {"not sent: left", [](WinKeyState& s) { winKeyNotSent(s, lwin); }, {U, P, false}, {U, P, false}},
        {"not sent: other key", [](WinKeyState& s) { winKeyNotSent(s, keyE); }, {P, P, false}, {P, P, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " from " + describe(c.before));
        WinKeyState state = c.before;
        c.change(state);
        EXPECT_EQ(describe(state), describe(c.after));
    }
}

}  // namespace
}  // namespace tavrel
