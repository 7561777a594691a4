// What the runtime posts to the main window: status changes, failure notices and the
// held keys while the main window is in front.

#include "runtime/runtime.h"

#include "app/window_messages.h"
#include "engine_fixture.h"
#include "model/keys.h"

#include <vector>

namespace tavrel {
namespace {

using namespace test;

class NotificationTest : public ::testing::Test {
protected:
    NotificationTest()
        : window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~NotificationTest() override { DestroyWindow(window); }

    struct Posted {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        friend bool operator==(const Posted&, const Posted&) = default;
    };

    std::vector<Posted> posted() {
        std::vector<Posted> messages;
        MSG msg;
        while (PeekMessageW(&msg, window, WM_APP, WM_APP + 100, PM_REMOVE))
            messages.push_back({msg.message, msg.wParam, msg.lParam});
        return messages;
    }

    HWND window;
};

TEST_F(NotificationTest, StatusChangesAndReportsArePosted) {
    Runtime runtime(window, LayoutAccess{});
    runtime.setStatus(L"Ready");
    EXPECT_EQ(posted(), (std::vector<Posted>{{msgStatusChanged, 0, 0}}));
    runtime.report(L"Boom", L"");
    EXPECT_EQ(posted(), (std::vector<Posted>{{msgStatusChanged, 0, 0}, {msgErrorNotice, 0, 0}}));
    runtime.stopAll();
    EXPECT_EQ(posted(), (std::vector<Posted>{{msgStatusChanged, 0, 0}}));
}

TEST_F(NotificationTest, HeldKeysArePostedWhileTheMainWindowIsInFront) {
    Runtime runtime(window, LayoutAccess{});
    InputFacts front;
    front.ownProcessInFront = true;
    front.mainWindowInFront = true;
    runtime.feedInput(leftCtrl(), true, 1000, front);
    runtime.feedInput(f8(), true, 1010, front);
    runtime.feedInput(f8(), false, 1020, front);
    runtime.feedInput(keyA(), true, 1030, {});  // another program in front: nothing posted
    const auto f8Id = static_cast<LPARAM>(keyId(f8()));
    EXPECT_EQ(posted(), (std::vector<Posted>{{msgKeyFilter, modCtrl, -1}, {msgKeyFilter, modCtrl, f8Id},
                                             {msgKeyFilter, modCtrl, -1}}));
}

}  // namespace
}  // namespace tavrel
