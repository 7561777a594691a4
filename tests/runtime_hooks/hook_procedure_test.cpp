// The runtime against the real hook machinery: hooks installed by start() and removed by
// the destructor, and the hook procedures' filter of injected input.

#include "runtime/hook_procedures.h"
#include "runtime/runtime.h"

#include "app/window_messages.h"

#include "../model/builders.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel {
namespace {

using namespace test;

bool eventually(Runtime& runtime, const std::wstring& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (runtime.statusText() != status) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

Config blockedF8() {
    Binding b = bindingOf(L"{F8}", L"F8");
    b.keepOriginalFunction = false;
    b.onPress = {delayAction(600000)};
    Config config;
    config.bindings = {b};
    return config;
}

// Calls the keyboard hook procedure as Windows would for one event.
LRESULT callKeyboardHook(DWORD scan, bool down, DWORD flags = 0, ULONG_PTR extra = 0) {
    KBDLLHOOKSTRUCT event{};
    event.vkCode = MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX);
    event.scanCode = scan;
    event.flags = flags | (down ? 0 : LLKHF_UP);
    event.time = static_cast<DWORD>(GetTickCount64());
    event.dwExtraInfo = extra;
    return keyboardHookProcedure(HC_ACTION, down ? WM_KEYDOWN : WM_KEYUP, reinterpret_cast<LPARAM>(&event));
}

TEST(RuntimeHooks, StartInstallsTheHooksAndAnotherRuntimeCanStartAfterDestruction) {
    for (int round = 0; round < 2; ++round) {
        Runtime runtime(nullptr, LayoutAccess{});
        runtime.setBindings(blockedF8());
        EXPECT_NO_THROW(runtime.start());
        EXPECT_EQ(runtime.statusText(), L"Ready");
    }
}

TEST(RuntimeHooks, InjectedKeyEventsAreNeverRecognised) {
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.setBindings(blockedF8());
    runtime.start();
    if (GetForegroundWindow() != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        if (process == GetCurrentProcessId()) GTEST_SKIP() << "this process is in front";
    }
    // Flagged as injected by the system, and carrying our own marker.
    EXPECT_EQ(callKeyboardHook(scanF8, true, LLKHF_INJECTED), 0);
    EXPECT_EQ(callKeyboardHook(scanF8, false, LLKHF_INJECTED), 0);
    EXPECT_EQ(callKeyboardHook(scanF8, true, 0, 0x54564C31), 0);
    EXPECT_EQ(callKeyboardHook(scanF8, false, 0, 0x54564C31), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(runtime.statusText(), L"Ready");
    // The same key from the user is recognised and, being blocked, swallowed with its release.
    EXPECT_EQ(callKeyboardHook(scanF8, true), 1);
    EXPECT_EQ(callKeyboardHook(scanF8, false), 1);
    EXPECT_TRUE(eventually(runtime, L"Running: F8, step 1/1"));
}

TEST(RuntimeHooks, InputResetStopsTheRunAndTheHookThreadForgetsTheHeldKeys) {
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.setBindings(blockedF8());
    runtime.start();
    if (GetAsyncKeyState(VK_F8) < 0) GTEST_SKIP() << "F8 is physically held";
    ASSERT_EQ(callKeyboardHook(scanF8, true), 1);
    ASSERT_TRUE(eventually(runtime, L"Running: F8, step 1/1"));
    const std::uint64_t before = runtime.generation();
    runtime.resetInput();
    EXPECT_EQ(runtime.statusText(), L"Ready");
    // The hook thread cancels once more when it handles the reset.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (runtime.generation() < before + 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(runtime.generation(), before + 2);
    // F8 is not physically down, so the key table forgot it: its release is not swallowed
    // any more, and the next press is a fresh one.
    EXPECT_EQ(callKeyboardHook(scanF8, false), 0);
    EXPECT_EQ(callKeyboardHook(scanF8, true), 1);
    EXPECT_TRUE(eventually(runtime, L"Running: F8, step 1/1"));
}

TEST(RuntimeHooks, MovesAndWheelsPassStraightThrough) {
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.start();
    MSLLHOOKSTRUCT event{};
    EXPECT_EQ(mouseHookProcedure(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&event)), 0);
    EXPECT_EQ(mouseHookProcedure(HC_ACTION, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&event)), 0);
}

TEST(RuntimeHooks, CapturesTakeTheirKeyAndPointFromTheHookEvents) {
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.start();
    const HWND editor = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(editor, nullptr);
    MSG msg;

    runtime.beginCapture(editor, CaptureMode::key);
    EXPECT_EQ(callKeyboardHook(scanF8, true), 1);
    EXPECT_EQ(callKeyboardHook(scanF8, false), 1);
    ASSERT_TRUE(PeekMessageW(&msg, editor, msgCaptureKey, msgCaptureKey, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.lParam, 0x42);

    runtime.beginCapture(editor, CaptureMode::point);
    MSLLHOOKSTRUCT click{};
    click.pt = {123, 45};
    EXPECT_EQ(mouseHookProcedure(HC_ACTION, WM_LBUTTONDOWN, reinterpret_cast<LPARAM>(&click)), 1);
    click.pt = {200, 200};
    EXPECT_EQ(mouseHookProcedure(HC_ACTION, WM_LBUTTONUP, reinterpret_cast<LPARAM>(&click)), 1);
    ASSERT_TRUE(PeekMessageW(&msg, editor, msgCapturePoint, msgCapturePoint, PM_REMOVE));
    EXPECT_EQ(msg.lParam, 0);
    EXPECT_EQ(runtime.capturedPoint().x, 123);
    EXPECT_EQ(runtime.capturedPoint().y, 45);
    DestroyWindow(editor);
}

}  // namespace
}  // namespace tavrel
