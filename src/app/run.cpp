#include "app/run.h"

#include "app/command_line.h"
#include "app/instance.h"
#include "app/languages.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "app/start_runtime.h"
#include "app/startup_config.h"
#include "config/check_config_command.h"
#include "install/prepare_install_command.h"
#include "sys/com.h"
#include "sys/error.h"
#include "sys/files.h"
#include "sys/gdiplus_session.h"
#include "update/update_command.h"

#include <commctrl.h>

namespace tavrel {

namespace {

void initCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    checkWin32(InitCommonControlsEx(&controls) != FALSE, L"Initialize common controls");
}

int messageLoop(MainWindow& state) {
    MSG msg{};
    for (;;) {
        const BOOL result = GetMessageW(&msg, nullptr, 0, 0);
        if (result == 0) return static_cast<int>(msg.wParam);
        if (result == -1) {
            const DWORD code = GetLastError();
            throw windowsError(L"Read window messages", code);
        }
        if (state.hwnd && IsDialogMessageW(state.hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int run(HINSTANCE instance) {
    // Objects are released in reverse order of creation when run() returns or throws:
    // the window state, then the mutex, GDI+ and COM.
    setLanguage(defaultLanguage());  // so that even a failing start speaks the user's language
    const ComApartment com;
    const std::vector<std::wstring> arguments = readArguments();
    // Checking a file needs neither graphics (whose thread makes a hidden window) nor the mutex.
    if (const int code = runCheckConfigCommand(arguments); code >= 0) return code;
    const GdiplusSession gdiplus;

    if (const int code = runPrepareInstallCommand(arguments); code >= 0) return code;
    if (const int code = runUpdateCommand(arguments); code >= 0) return code;
    const StartOptions options = parseStartOptions(arguments);

    const InstanceMutex mutex = createInstanceMutex(instanceMutexName(currentUserSid()));
    if (mutex.alreadyExisted) {
        activateRunningInstance(options.safe);
        return 0;
    }

    initCommonControls();

    MainWindow state(modulePath().parent_path() / L"config.xml");
    loadStartupConfig(state, options);
    MainWindow::registerClass(instance);
    state.create(instance);
    startRuntime(state, options.safe);
    state.show();
    showLoadError(state);
    return messageLoop(state);
}

}  // namespace tavrel
