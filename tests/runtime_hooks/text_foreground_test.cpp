// Inserting text into real windows: the text goes only to the window that was in front
// when it started.

#include "runtime/runtime.h"

#include "../model/builders.h"
#include "../runtime/recording_sink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel {
namespace {

using namespace test;

class TopWindow {
public:
    TopWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"Tavrel text target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                  100, nullptr, nullptr, nullptr, nullptr)) {}
    ~TopWindow() { DestroyWindow(window_); }
    HWND get() const { return window_; }

private:
    HWND window_;
};

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(TextForeground, AnotherWindowComingToTheFrontEndsTheTextAfterTheChunksAlreadySent) {
    TopWindow first, second;
    ASSERT_TRUE(first.get() && second.get());
    SetForegroundWindow(first.get());
    pump();
    if (GetForegroundWindow() != first.get()) GTEST_SKIP() << "this desktop does not let the test choose the foreground window";

    const auto sink = std::make_shared<RecordingSink>();
    sink->onSend = [&](std::size_t batches) {
        if (batches != 1) return;
        // The switch completes on the windows' own thread, which pumps meanwhile.
        SetForegroundWindow(second.get());
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (GetForegroundWindow() != second.get() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    };
    Runtime runtime(nullptr, LayoutAccess{}, sink);
    Binding b = bindingOf(L"{T}", L"Text", keyboard(scanF8));
    b.onPress = {textAction(std::wstring(40, L'x'))};
    Config config;
    config.bindings = {b};
    runtime.setBindings(config);
    runtime.startWithoutHooks();
    runtime.feedInput(keyboard(scanF8), true, 1000, {});
    runtime.feedInput(keyboard(scanF8), false, 1010, {});

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (runtime.lastFailure().empty() && std::chrono::steady_clock::now() < deadline) {
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (GetForegroundWindow() != second.get()) GTEST_SKIP() << "the foreground window could not be changed from the sending thread";
    EXPECT_EQ(runtime.lastFailure(), L"Text, step 1: The active window changed while inserting text.");
    ASSERT_EQ(sink->batches().size(), 1u);
    EXPECT_EQ(sink->batches()[0].events.size(), 64u);  // the first 32 characters stay typed
}

}  // namespace
}  // namespace tavrel
