// The main window against real USER32: class, title, size from the configuration at
// the system DPI, and the answer to a second start.

#include "app/main_window.h"
#include "app/window_messages.h"
#include "sys/error.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { MainWindow::registerClass(GetModuleHandleW(nullptr)); }

    static void pumpMessages() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
};

TEST_F(MainWindowTest, IsCreatedHiddenWithItsTitleAndClass) {
    MainWindow state(L"C:\\Tavrel\\config.xml");
    state.create(GetModuleHandleW(nullptr));
    ASSERT_NE(state.hwnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(state.hwnd));
    wchar_t text[64] = {};
    GetWindowTextW(state.hwnd, text, 64);
    EXPECT_STREQ(text, L"Tavrel v1.5.3");
    GetClassNameW(state.hwnd, text, 64);
    EXPECT_STREQ(text, L"Tavrel.Main.v1");
    EXPECT_EQ(FindWindowW(L"Tavrel.Main.v1", nullptr), state.hwnd);
}

TEST_F(MainWindowTest, SizeIsTheConfiguredSizeAtTheSystemDpi) {
    const int dpi = static_cast<int>(GetDpiForSystem());
    for (const auto& [width, height] : {std::pair{1100, 760}, std::pair{900, 600}}) {
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        MainWindow state(L"config.xml");
        state.config.width = width;
        state.config.height = height;
        state.create(GetModuleHandleW(nullptr));
        RECT bounds{};
        GetWindowRect(state.hwnd, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, MulDiv(width, dpi, 96));
        EXPECT_EQ(bounds.bottom - bounds.top, MulDiv(height, dpi, 96));
    }
}

TEST_F(MainWindowTest, ActivateInstanceShowsAHiddenOrMinimisedWindow) {
    for (const WPARAM safe : {WPARAM{0}, WPARAM{1}}) {
        MainWindow state(L"config.xml");
        state.create(GetModuleHandleW(nullptr));
        PostMessageW(state.hwnd, msgActivateInstance, safe, 0);
        pumpMessages();
        EXPECT_TRUE(IsWindowVisible(state.hwnd));
        ShowWindow(state.hwnd, SW_MINIMIZE);
        PostMessageW(state.hwnd, msgActivateInstance, safe, 0);
        pumpMessages();
        EXPECT_FALSE(IsIconic(state.hwnd));
    }
}

TEST_F(MainWindowTest, DestroyingTheWindowEndsTheMessageLoop) {
    MainWindow state(L"config.xml");
    state.create(GetModuleHandleW(nullptr));
    DestroyWindow(state.hwnd);
    EXPECT_EQ(state.hwnd, nullptr);
    MSG msg{};
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) quit = quit || msg.message == WM_QUIT;
    EXPECT_TRUE(quit);
}

TEST_F(MainWindowTest, SecondRegistrationFailsAsRegisterMainWindow) {
    try {
        MainWindow::registerClass(GetModuleHandleW(nullptr));
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), L"Register main window: " + systemText(ERROR_CLASS_ALREADY_EXISTS));
    }
}

}  // namespace
}  // namespace tavrel
