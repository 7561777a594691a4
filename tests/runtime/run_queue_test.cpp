// The run queue and executor on real threads, fed through recognition without hooks:
// the queue limit, stop during a long delay, pause and resume, and a failing step.

#include "runtime/runtime.h"

#include "runtime/input_sink.h"

#include "recording_sink.h"

#include "engine_fixture.h"

#include <chrono>
#include <thread>

namespace tavrel {
namespace {

using namespace test;

class RunQueueTest : public ::testing::Test {
protected:
    void use(std::vector<Binding> bindings) {
        Config config;
        config.bindings = std::move(bindings);
        runtime.setBindings(config);
    }

    void press(const Trigger& key) {
        time += 10;
        runtime.feedInput(key, true, time, {});
        time += 10;
        runtime.feedInput(key, false, time, {});
    }

    bool statusIs(const std::wstring& text) {
        return eventually([&] { return runtime.statusText() == text; });
    }

    Runtime runtime{nullptr, LayoutAccess{}};
    std::uint64_t time = 1000;
};

TEST_F(RunQueueTest, TheThirtyFourthPressIsRejectedWithThirtyTwoWaiting) {
    use({withPress("Long", f8(), {delayAction(600000)})});
    runtime.startWithoutHooks();
    press(f8());
    ASSERT_TRUE(statusIs(L"Running: Long, step 1/1"));
    for (int i = 0; i < 32; ++i) press(f8());
    EXPECT_EQ(runtime.statusText(), L"Running: Long, step 1/1 \u00B7 Queued: 32");
    EXPECT_EQ(runtime.lastFailure(), L"");
    press(f8());
    EXPECT_EQ(runtime.lastFailure(), L"Queue is full");
    EXPECT_NE(runtime.failureDetails().find(
                  L"Error: Queue is full\r\nProcess ID: " + std::to_wstring(GetCurrentProcessId()) +
                  L"\r\nHotkeys: active\r\n"
                  L"Queue capacity: 32. Only the new request was rejected; queued runs were preserved.\r\n"),
              std::wstring::npos);
    EXPECT_EQ(runtime.statusText(), L"Running: Long, step 1/1 \u00B7 Queued: 32") << "queued runs were kept";
    runtime.stopAll();
    EXPECT_TRUE(statusIs(L"Ready"));
}

TEST_F(RunQueueTest, StopAllEndsALongDelayAtOnceAndReportsNothing) {
    use({withPress("Long", f8(), {delayAction(600000), actionOf(ActionType::url)})});
    runtime.startWithoutHooks();
    press(f8());
    ASSERT_TRUE(statusIs(L"Running: Long, step 1/2"));
    const std::uint64_t before = runtime.generation();
    runtime.stopAll();
    EXPECT_GT(runtime.generation(), before);
    EXPECT_TRUE(statusIs(L"Ready"));
    // The canceled run never reaches its failing second step.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(runtime.lastFailure(), L"");
    EXPECT_EQ(runtime.statusText(), L"Ready");
}

TEST_F(RunQueueTest, PauseCancelsTheRunAndDropsTheQueueUntilResumed) {
    use({withPress("Long", f8(), {delayAction(600000)})});
    runtime.startWithoutHooks();
    press(f8());
    press(f8());
    ASSERT_TRUE(statusIs(L"Running: Long, step 1/1 \u00B7 Queued: 1"));
    runtime.setPaused(true);
    EXPECT_TRUE(runtime.isPaused());
    EXPECT_TRUE(statusIs(L"Paused"));
    press(f8());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(runtime.statusText(), L"Paused") << "presses while paused queue nothing";
    EXPECT_EQ(runtime.lastFailure(), L"");
    runtime.setPaused(false);
    EXPECT_EQ(runtime.statusText(), L"Ready");
    press(f8());
    EXPECT_TRUE(statusIs(L"Running: Long, step 1/1"));
}

TEST_F(RunQueueTest, AFailingStepEndsItsRunWithAReportAndTheNextRunStarts) {
    use({withPress("Broken", f8(), {delayAction(0), actionOf(ActionType::url), actionOf(ActionType::url)}),
         withPress("Next", keyA(), {delayAction(600000)})});
    runtime.startWithoutHooks();
    press(f8());
    press(keyA());
    ASSERT_TRUE(statusIs(L"Running: Next, step 1/1"));
    EXPECT_EQ(runtime.lastFailure(), L"Broken, step 2: This action type is not available in this build.");
    const std::wstring details = runtime.failureDetails();
    EXPECT_NE(details.find(L"\r\nBinding: Broken\r\n"), std::wstring::npos);
    EXPECT_NE(details.find(L"\r\nStep: 2/3 (enabled actions)\r\n"), std::wstring::npos);
    EXPECT_NE(details.find(L"\r\nForeground before action:\r\nhwnd=0x"), std::wstring::npos);
}

TEST_F(RunQueueTest, CompletedRunsReturnToReadyAndAZeroDelayTakesNoTime) {
    use({withPress("Quick", f8(), {delayAction(0), delayAction(1), delayAction(0)})});
    runtime.startWithoutHooks();
    press(f8());
    press(f8());
    EXPECT_TRUE(statusIs(L"Ready"));
    EXPECT_EQ(runtime.lastFailure(), L"");
    const std::uint64_t generation = runtime.generation();
    EXPECT_TRUE(runtime.waitFor(0, generation));
    EXPECT_FALSE(runtime.waitFor(0, generation + 1));
}

TEST_F(RunQueueTest, WaitForEndsWhenAnotherThreadStops) {
    const std::uint64_t generation = runtime.generation();
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        runtime.stopAll();
    });
    EXPECT_FALSE(runtime.waitFor(600000, generation));
    stopper.join();
}

TEST_F(RunQueueTest, AReportMadeWhilePausedSaysSoAndTheLineIsFlattened) {
    runtime.setPaused(true);
    runtime.report(L"First line\r\n  second line", L"");
    EXPECT_EQ(runtime.lastFailure(), L"First line second line");
    EXPECT_NE(runtime.failureDetails().find(L"\r\nHotkeys: paused\r\n"), std::wstring::npos);
}

TEST(MaskKey, APreviousLayoutBindingWithAltMasksTheMenuWhenQueued) {
    const auto sink = std::make_shared<RecordingSink>();
    Runtime runtime(nullptr, LayoutAccess{}, sink);
    Config config;
    config.bindings = {withPress("Alt layout", keyboard(scanF8, modAlt), {layoutAction(L"previous")}),
                       withPress("Ctrl layout", keyboard(scanF8, modCtrl), {layoutAction(L"previous")}),
                       withPress("Alt delay", keyboard(0x1E, modAlt), {delayAction(0)})};
    runtime.setBindings(config);
    const auto chord = [&](const Trigger& modifier, const Trigger& key) {
        runtime.feedInput(modifier, true, 1000, {});
        runtime.feedInput(key, true, 1010, {});
        runtime.feedInput(key, false, 1020, {});
        runtime.feedInput(modifier, false, 1030, {});
    };
    chord(leftCtrl(), f8());
    chord(leftAlt(), keyA());
    EXPECT_TRUE(sink->sent().empty());
    chord(leftAlt(), f8());
    const std::vector<INPUT> sent = sink->sent();
    ASSERT_EQ(sent.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const INPUT& event = sent[i];
        EXPECT_EQ(event.type, static_cast<DWORD>(INPUT_KEYBOARD));
        EXPECT_EQ(event.ki.wVk, 0xE8);
        EXPECT_EQ(event.ki.wScan, 0);
        EXPECT_EQ(event.ki.dwFlags, i == 0 ? 0u : static_cast<DWORD>(KEYEVENTF_KEYUP));
        EXPECT_EQ(event.ki.time, 0u);
        EXPECT_EQ(event.ki.dwExtraInfo, static_cast<ULONG_PTR>(0x54564C31));
    }
}

TEST(RuntimeLifetime, DestroyingARuntimeInALongDelayJoinsAtOnce) {
    Runtime runtime(nullptr, LayoutAccess{});
    Config config;
    config.bindings = {withPress("Long", f8(), {delayAction(600000)})};
    runtime.setBindings(config);
    runtime.startWithoutHooks();
    runtime.feedInput(f8(), true, 1000, {});
    ASSERT_TRUE(eventually([&] { return runtime.statusText() == L"Running: Long, step 1/1"; }));
}

}  // namespace
}  // namespace tavrel
