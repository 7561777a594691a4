// The runtime's injected input end to end without the desktop: recognition fed by hand,
// the executor performing key, text and click actions into a recording sink, and the
// Windows-key forwarding of the hook side.

#include "runtime/runtime.h"

#include "app/window_messages.h"
#include "runtime/input_events.h"
#include "runtime/report_text.h"
#include "sys/error.h"

#include "engine_fixture.h"
#include "input_expect.h"
#include "recording_sink.h"

#include <chrono>
#include <thread>

namespace tavrel {
namespace {

using namespace test;

const Trigger leftWin = extendedKey(scanLeftWin);
const Trigger keyE = keyboard(0x12);

// A blocked binding that runs the actions.
Binding runs(const char* name, Trigger trigger, std::vector<Action> actions) {
    return withPress(name, trigger, std::move(actions), false);
}

class InjectionTest : public ::testing::Test {
protected:
    void use(std::vector<Binding> bindings) {
        Config config;
        config.bindings = std::move(bindings);
        runtime.setBindings(config);
    }

    // One keyboard event as the hook hands it over; answers whether it is swallowed.
    bool event(const Trigger& key, bool down) {
        KBDLLHOOKSTRUCT hook{};
        hook.vkCode = MapVirtualKeyW(key.extended ? (key.code | 0xE000) : key.code, MAPVK_VSC_TO_VK_EX);
        hook.scanCode = key.code;
        hook.flags = (key.extended ? LLKHF_EXTENDED : 0) | (down ? 0 : LLKHF_UP);
        return runtime.feedInput(key, down, time += 10, facts, &hook).swallow();
    }
    void tap(const Trigger& key) {
        event(key, true);
        event(key, false);
    }

    bool settled() {
        return eventually([&] { return runtime.statusText() == L"Ready"; });
    }

    std::shared_ptr<RecordingSink> sink = std::make_shared<RecordingSink>();
    Runtime runtime{nullptr, LayoutAccess{}, sink};
    InputFacts facts;  // another program is in front
    std::uint64_t time = 1000;
};

InputFacts click(POINT point = {}) {
    InputFacts facts;
    facts.mouse = true;
    facts.point = point;
    return facts;
}

TEST_F(InjectionTest, AKeyActionWaitsUntilTheTriggersKeysAreUpThenSendsOneBatch) {
    use({runs("Ctrl F8", keyboard(scanF8, modCtrl), {keyAction(keyboard(scanF8, modCtrl))})});
    runtime.startWithoutHooks();
    event(leftCtrl(), true);
    event(f8(), true);
    ASSERT_TRUE(eventually([&] { return runtime.statusText() == L"Waiting for input release"; }));
    event(f8(), false);
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(sink->batches().empty());  // Ctrl is still held
    event(leftCtrl(), false);
    ASSERT_TRUE(eventually([&] { return !sink->batches().empty(); }));
    ASSERT_TRUE(settled());
    ASSERT_EQ(sink->batches().size(), 1u);
    expectEvents(sink->batches()[0].events, {
        key(VK_LCONTROL, 0x1D, sc),
        key(VK_F8, 0x42, sc),
        key(VK_F8, 0x42, sc | up),
        key(VK_LCONTROL, 0x1D, sc | up),
    });
    EXPECT_EQ(runtime.lastFailure(), L"");
}

TEST_F(InjectionTest, StopAllEndsAReleaseWaitWithoutSendingOrReporting) {
    use({runs("Text", keyboard(scanF8, modCtrl), {textAction(L"never")})});
    runtime.startWithoutHooks();
    event(leftCtrl(), true);
    event(f8(), true);
    ASSERT_TRUE(eventually([&] { return runtime.statusText() == L"Waiting for input release"; }));
    runtime.stopAll();
    event(f8(), false);
    event(leftCtrl(), false);
    ASSERT_TRUE(settled());
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_TRUE(sink->batches().empty());
    EXPECT_EQ(runtime.lastFailure(), L"");
}

TEST_F(InjectionTest, APartialSendReleasesWhatItPressedInReverseAndFailsTheRun) {
    use({runs("Chord", f8(), {keyAction(keyboard(0x1E, modCtrl | modShift)), textAction(L"not reached")})});
    runtime.startWithoutHooks();
    for (const std::size_t accepted : {3u, 0u}) {
        SCOPED_TRACE(accepted);
        const std::size_t before = sink->batches().size();
        sink->acceptOnly(accepted);
        tap(f8());
        ASSERT_TRUE(eventually([&] { return runtime.lastFailure().find(L"SendInput") != std::wstring::npos; }));
        ASSERT_TRUE(settled());
        const std::vector<RecordingSink::Batch> batches = sink->batches();
        EXPECT_EQ(runtime.lastFailure(), oneLine(L"Chord, step 1: SendInput accepted " + std::to_wstring(accepted) +
                                                 L"/6 events. A higher-privilege target is one possible cause. " +
                                                 systemText(ERROR_ACCESS_DENIED)));
        if (accepted == 3) {
            ASSERT_EQ(batches.size(), before + 2);
            expectEvents(batches[before + 1].events, {
                key('A', 0x1E, sc | up),
                key(VK_LSHIFT, 0x2A, sc | up),
                key(VK_LCONTROL, 0x1D, sc | up),
            });
        } else {
            EXPECT_EQ(batches.size(), before + 1);  // nothing went down, nothing to release
        }
        runtime.report(L"", L"");
    }
}

TEST_F(InjectionTest, TextGoesOutInChunksOfThirtyTwoUnits) {
    const std::wstring text = std::wstring(31, L'a') + L"\U0001F600" + L"\u0416\u0449\r\nx\ny";
    use({runs("Text", f8(), {textAction(text)})});
    runtime.startWithoutHooks();
    tap(f8());
    ASSERT_TRUE(eventually([&] { return sink->batches().size() == 2; }));
    ASSERT_TRUE(settled());
    const std::vector<RecordingSink::Batch> batches = sink->batches();
    ASSERT_EQ(batches.size(), 2u);
    EXPECT_EQ(batches[0].events.size(), 66u);  // 31 letters and the whole pair
    std::wstring typed;
    for (const auto& batch : batches)
        for (std::size_t i = 0; i < batch.events.size(); i += 2) typed += static_cast<wchar_t>(batch.events[i].ki.wScan);
    EXPECT_EQ(typed, std::wstring(31, L'a') + L"\U0001F600" + L"\u0416\u0449\rx\ry");
    EXPECT_EQ(runtime.lastFailure(), L"");
}

TEST_F(InjectionTest, ADoubleClickOfX1IsTwoTriplesAQuarterDoubleClickTimeApart) {
    Action doubleClick = clickAction(4, 2);
    doubleClick.x = 5;
    doubleClick.y = 7;
    use({runs("Click", f8(), {doubleClick})});
    runtime.startWithoutHooks();
    tap(f8());
    ASSERT_TRUE(eventually([&] { return sink->batches().size() == 2; }));
    ASSERT_TRUE(settled());
    ASSERT_EQ(runtime.lastFailure(), L"");
    const POINT absolute = absoluteMousePoint({5, 7}, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                                              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const std::vector<RecordingSink::Batch> batches = sink->batches();
    for (const auto& batch : batches) {
        expectEvents(batch.events, {
            mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, 0, absolute.x, absolute.y),
            mouse(MOUSEEVENTF_XDOWN, XBUTTON1),
            mouse(MOUSEEVENTF_XUP, XBUTTON1),
        });
    }
    const auto pause = std::chrono::duration_cast<std::chrono::milliseconds>(batches[1].at - batches[0].at);
    EXPECT_GE(pause.count(), static_cast<long long>(GetDoubleClickTime() / 4));
}

TEST_F(InjectionTest, AClickWaitsForItsButtonAndRefusesPointsOffTheMonitors) {
    Action offScreen = clickAction(1, 1);
    offScreen.x = -100000;
    offScreen.y = 5;
    use({runs("Off", f8(), {offScreen})});
    runtime.startWithoutHooks();
    runtime.feedInput(mouseButton(1), true, time += 10, click());
    tap(f8());
    ASSERT_TRUE(eventually([&] { return runtime.statusText() == L"Waiting for input release"; }));
    runtime.feedInput(mouseButton(1), false, time += 10, click());
    ASSERT_TRUE(eventually([&] { return !runtime.lastFailure().empty(); }));
    EXPECT_EQ(runtime.lastFailure(), L"Off, step 1: Click position is outside the connected monitors. Pick it again.");
    EXPECT_TRUE(sink->batches().empty());
}

// The Windows keys while a binding uses Win and another program is in front.
class WinForwardingTest : public InjectionTest {
protected:
    WinForwardingTest() { use({runs("Win F8", keyboard(scanF8, modWin), {delayAction(0)})}); }
};

TEST_F(WinForwardingTest, ALoneTapIsReplayedSoTheStartMenuStillOpens) {
    EXPECT_TRUE(event(leftWin, true));
    EXPECT_TRUE(sink->batches().empty());
    EXPECT_TRUE(event(leftWin, false));
    ASSERT_EQ(sink->batches().size(), 1u);
    expectEvents(sink->batches()[0].events, {key(VK_LWIN, 0x5B, ext), key(VK_LWIN, 0x5B, ext | up)});
}

TEST_F(WinForwardingTest, WinEIsForwardedAsWinDownEDownAndTheRestPasses) {
    EXPECT_TRUE(event(leftWin, true));
    EXPECT_TRUE(event(keyE, true));  // the forwarded copy replaces it
    ASSERT_EQ(sink->batches().size(), 1u);
    expectEvents(sink->batches()[0].events, {key(VK_LWIN, 0x5B, ext), key('E', 0x12, sc)});
    EXPECT_FALSE(event(keyE, false));
    EXPECT_FALSE(event(leftWin, false));
    EXPECT_EQ(sink->batches().size(), 1u);
}

TEST_F(WinForwardingTest, WinWithTheBoundKeyRunsTheBindingAndInjectsNothing) {
    runtime.startWithoutHooks();
    EXPECT_TRUE(event(leftWin, true));
    EXPECT_TRUE(event(f8(), true));
    EXPECT_TRUE(event(f8(), false));
    EXPECT_TRUE(event(leftWin, false));
    ASSERT_TRUE(settled());
    EXPECT_TRUE(sink->batches().empty());
}

TEST_F(WinForwardingTest, AHeldBackKeyGoesUpWithoutATapAfterStopAllOrNewBindings) {
    for (const bool viaStop : {true, false}) {
        SCOPED_TRACE(viaStop ? "stopAll" : "setBindings");
        EXPECT_TRUE(event(leftWin, true));
        if (viaStop) {
            runtime.stopAll();
        } else {
            use({runs("Win F8", keyboard(scanF8, modWin), {delayAction(0)})});
        }
        EXPECT_TRUE(event(leftWin, false));
        EXPECT_TRUE(sink->batches().empty());
    }
}

TEST_F(WinForwardingTest, WindowsKeysPassUntouchedWhileTheProgramIsInFront) {
    facts.ownProcessInFront = true;
    EXPECT_FALSE(event(leftWin, true));
    EXPECT_FALSE(event(keyE, true));
    EXPECT_FALSE(event(keyE, false));
    EXPECT_FALSE(event(leftWin, false));
    EXPECT_TRUE(sink->batches().empty());
}

TEST_F(InjectionTest, WithoutAWinBindingWindowsKeysGoToTheSystemAtOnce) {
    use({runs("F8", f8(), {delayAction(0)})});
    EXPECT_FALSE(event(leftWin, true));
    EXPECT_FALSE(event(keyE, true));
    EXPECT_FALSE(event(keyE, false));
    EXPECT_FALSE(event(leftWin, false));
    EXPECT_TRUE(sink->batches().empty());
}

TEST_F(WinForwardingTest, AFailedForwardIsReportedAndTheUnsentWinReleaseIsSwallowed) {
    event(leftWin, true);
    sink->acceptOnly(0);
    EXPECT_TRUE(event(keyE, true));
    EXPECT_EQ(runtime.lastFailure(), L"Could not forward the Windows-key combination.");
    EXPECT_NE(runtime.failureDetails().find(L"SendInput accepted 0/2 events. " + systemText(ERROR_ACCESS_DENIED)),
              std::wstring::npos);
    EXPECT_EQ(sink->batches().size(), 1u);  // no clean-up when nothing went through
    EXPECT_FALSE(event(keyE, false));
    EXPECT_TRUE(event(leftWin, false));     // the system never saw it go down
    EXPECT_EQ(sink->batches().size(), 1u);
}

TEST_F(WinForwardingTest, APartlyReplayedTapIsCleanedUpWithTheMaskAndTheWinRelease) {
    event(leftWin, true);
    sink->acceptOnly(1);
    EXPECT_TRUE(event(leftWin, false));
    const std::vector<RecordingSink::Batch> batches = sink->batches();
    ASSERT_EQ(batches.size(), 2u);
    expectEvents(batches[1].events, {key(0xE8, 0, 0), key(0xE8, 0, up), key(VK_LWIN, 0x5B, ext | up)});
    EXPECT_EQ(runtime.lastFailure(), L"Could not forward the Windows-key combination.");
}

// A window that only receives posted messages.
class MessageWindow {
public:
    MessageWindow() : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~MessageWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

    // The next message of the given range that was posted to the window, if any.
    std::optional<MSG> next(UINT first, UINT last) {
        MSG msg;
        if (eventually([&] { return PeekMessageW(&msg, window_, first, last, PM_REMOVE) != 0; })) return msg;
        return std::nullopt;
    }

private:
    HWND window_;
};

TEST_F(InjectionTest, CapturesPostToTheEditorAndResetInputCancelsThem) {
    MessageWindow editor;
    ASSERT_NE(editor.get(), nullptr);
    use({runs("Long", keyA(), {delayAction(600000)})});
    runtime.startWithoutHooks();
    tap(keyA());
    ASSERT_TRUE(eventually([&] { return runtime.statusText() == L"Running: Long, step 1/1"; }));

    runtime.beginCapture(editor.get(), CaptureMode::key);
    EXPECT_EQ(runtime.statusText(), L"Ready");  // beginning a capture stops the runs
    event(leftCtrl(), true);
    EXPECT_TRUE(event(f8(), true));
    auto msg = editor.next(msgCaptureKey, msgCaptureKey);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(msg->wParam, static_cast<WPARAM>(modCtrl));
    EXPECT_EQ(msg->lParam, 0x42);
    event(f8(), false);
    event(leftCtrl(), false);

    runtime.beginCapture(editor.get(), CaptureMode::point);
    runtime.feedInput(mouseButton(1), true, time += 10, click({31, 41}));
    runtime.feedInput(mouseButton(1), false, time += 10, click({99, 99}));
    msg = editor.next(msgCapturePoint, msgCapturePoint);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(msg->lParam, 0);
    EXPECT_EQ(runtime.capturedPoint().x, 31);
    EXPECT_EQ(runtime.capturedPoint().y, 41);

    runtime.beginCapture(editor.get(), CaptureMode::point);
    runtime.resetInput();
    msg = editor.next(msgCapturePoint, msgCapturePoint);
    ASSERT_TRUE(msg.has_value());
    EXPECT_EQ(msg->wParam, 0u);
    EXPECT_EQ(msg->lParam, -1);
    runtime.cancelCapture();  // nothing left to cancel
    MSG extra;
    EXPECT_FALSE(PeekMessageW(&extra, editor.get(), msgCaptureKey, msgCapturePoint, PM_REMOVE));
}

}  // namespace
}  // namespace tavrel
