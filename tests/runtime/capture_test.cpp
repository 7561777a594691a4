// The editors' captures through recognition: what is recorded and posted, what is
// swallowed, and that no binding matches meanwhile.

#include "app/window_messages.h"

#include "engine_fixture.h"

#include <optional>
#include <vector>

namespace tavrel {
namespace {

using namespace test;

const HWND editor = reinterpret_cast<HWND>(0x1234);

class CaptureTest : public EngineTest {
protected:
    struct Step {
        Trigger key;
        bool down;
    };

    // Feeds the events; answers which were swallowed and collects what was posted.
    std::vector<bool> feed(const std::vector<Step>& steps) {
        std::vector<bool> swallowed;
        for (const Step& step : steps) {
            InputFacts eventFacts = facts;
            eventFacts.mouse = step.key.mouse;
            eventFacts.point = point;
            const InputDecision decision = engine.processInput(step.key, step.down, time += 10, eventFacts);
            swallowed.push_back(decision.swallow());
            if (decision.capturePost) posts.push_back(*decision.capturePost);
        }
        return swallowed;
    }

    void expectOnePost(UINT message, WPARAM wParam, LPARAM lParam) {
        ASSERT_EQ(posts.size(), 1u);
        EXPECT_EQ(posts[0].window, editor);
        EXPECT_EQ(posts[0].message, message);
        EXPECT_EQ(posts[0].wParam, wParam);
        EXPECT_EQ(posts[0].lParam, lParam);
        EXPECT_EQ(engine.captureWindow(), nullptr);
    }

    std::vector<PostedMessage> posts;
    std::uint64_t time = 1000;
    POINT point{};
};

const Trigger escape = keyboard(1);
const Trigger rightShift = keyboard(scanRightShift);

TEST_F(CaptureTest, KeysAreRecordedWithTheModifiersHeld) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        WPARAM modifiers;
        LPARAM key;
    } cases[] = {
        {"Ctrl then A", {{leftCtrl(), true}, {keyA(), true}}, modCtrl, 0x1E},
        {"Ctrl, Shift, release Shift: Shift alone with Ctrl",
         {{leftCtrl(), true}, {leftShift(), true}, {leftShift(), false}}, modCtrl, 0x2A},
        {"the latest modifier wins", {{leftCtrl(), true}, {leftShift(), true}, {leftCtrl(), false}, {leftShift(), false}},
         0, 0x2A},
        {"a modifier alone", {{rightCtrl(), true}, {rightCtrl(), false}}, 0, 0x11D},
        {"both Shift keys: the recorded key takes the bit",
         {{leftShift(), true}, {rightShift, true}, {rightShift, false}}, 0, 0x36},
        {"a plain key", {{f8(), true}}, 0, 0x42},
        {"a mouse button with Alt", {{leftAlt(), true}, {mouseButton(4), true}}, modAlt, 516},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        engine.resetInput([](const Trigger&) { return false; });
        posts.clear();
        engine.beginCapture(editor, CaptureMode::key);
        const std::vector<bool> swallowed = feed(c.steps);
        for (std::size_t i = 0; i < swallowed.size(); ++i) EXPECT_TRUE(swallowed[i]) << "event " << i;
        expectOnePost(msgCaptureKey, c.modifiers, c.key);
    }
}

TEST_F(CaptureTest, EveryMouseButtonIsRecordedAsItsKeyId) {
    for (std::uint32_t button = 1; button <= 5; ++button) {
        posts.clear();
        engine.beginCapture(editor, CaptureMode::key);
        EXPECT_EQ(feed({{mouseButton(button), true}, {mouseButton(button), false}}), (std::vector<bool>{true, true}));
        expectOnePost(msgCaptureKey, 0, static_cast<LPARAM>(512 + button));
    }
}

TEST_F(CaptureTest, EscapeCancelsEitherCaptureAndNeitherHalfReachesTheWindow) {
    for (const CaptureMode mode : {CaptureMode::key, CaptureMode::point}) {
        posts.clear();
        engine.beginCapture(editor, mode);
        EXPECT_EQ(feed({{escape, true}, {escape, true}, {escape, false}}), (std::vector<bool>{true, true, true}));
        expectOnePost(mode == CaptureMode::key ? msgCaptureKey : msgCapturePoint, 0, -1);
        EXPECT_EQ(feed({{escape, true}, {escape, false}}), (std::vector<bool>{false, false}));
    }
}

TEST_F(CaptureTest, APointIsPickedByTheLeftButtonOnlyAndTypingPasses) {
    engine.beginCapture(editor, CaptureMode::point);
    point = {640, -20};
    EXPECT_EQ(feed({{keyA(), true}, {keyA(), false}, {mouseButton(2), true}, {mouseButton(2), false}}),
              (std::vector<bool>{false, false, false, false}));
    EXPECT_TRUE(posts.empty());
    EXPECT_EQ(feed({{mouseButton(1), true}}), std::vector<bool>{true});
    EXPECT_TRUE(posts.empty());  // completed on the release
    point = {700, 300};
    EXPECT_EQ(feed({{mouseButton(1), false}}), std::vector<bool>{true});
    expectOnePost(msgCapturePoint, 0, 0);
    EXPECT_EQ(engine.capturedPoint().x, 640);
    EXPECT_EQ(engine.capturedPoint().y, -20);
    EXPECT_EQ(feed({{mouseButton(1), true}, {mouseButton(1), false}}), (std::vector<bool>{false, false}));
}

TEST_F(CaptureTest, AKeySwallowedByACaptureStaysSwallowedUntilItsRelease) {
    use({binding("A", keyA())});
    engine.beginCapture(editor, CaptureMode::key);
    // The press completes the capture; its repeats and release come after it.
    EXPECT_EQ(feed({{keyA(), true}, {keyA(), true}, {keyA(), false}}), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(runs.empty());
    // The next press is the binding's again.
    EXPECT_EQ(feed({{keyA(), true}, {keyA(), false}}), (std::vector<bool>{false, false}));
    EXPECT_EQ(runs, std::vector<std::string>{"A press"});
}

TEST_F(CaptureTest, NoBindingMatchesWhileCapturingAndPendingTriggersAreDropped) {
    use({binding("Hold F8", f8(), true, 500), binding("Ctrl", leftCtrl())});
    EXPECT_FALSE(down(f8(), 1000));
    engine.beginCapture(editor, CaptureMode::point);
    EXPECT_FALSE(engine.holdDeadline().has_value());
    EXPECT_FALSE(up(f8(), 2000));
    EXPECT_FALSE(down(leftCtrl(), 2010));
    EXPECT_FALSE(up(leftCtrl(), 2020));
    EXPECT_TRUE(runs.empty());
}

TEST_F(CaptureTest, StopCombinationDuringAKeyCaptureStopsIsSwallowedAndIsRecorded) {
    engine.beginCapture(editor, CaptureMode::key);
    EXPECT_EQ(feed({{leftCtrl(), true}}), std::vector<bool>{true});
    // Ctrl alone is pending; Alt replaces it, then Backspace completes the capture.
    EXPECT_EQ(feed({{leftAlt(), true}, {backspace(), true}}), (std::vector<bool>{true, true}));
    EXPECT_EQ(stops, 1);
    expectOnePost(msgCaptureKey, modCtrl | modAlt, 0x0E);
}

TEST_F(CaptureTest, CancelGivesTheCancelMessageOnce) {
    EXPECT_FALSE(engine.cancelCapture().has_value());
    engine.beginCapture(editor, CaptureMode::point);
    const std::optional<PostedMessage> cancel = engine.cancelCapture();
    ASSERT_TRUE(cancel.has_value());
    EXPECT_EQ(cancel->window, editor);
    EXPECT_EQ(cancel->message, msgCapturePoint);
    EXPECT_EQ(cancel->wParam, 0u);
    EXPECT_EQ(cancel->lParam, -1);
    EXPECT_FALSE(engine.cancelCapture().has_value());
    EXPECT_EQ(feed({{mouseButton(1), true}, {mouseButton(1), false}}), (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace tavrel
