#include "app/main_window.h"

#include "app/messages.h"
#include "app/window_messages.h"
#include "sys/error.h"
#include "version.h"

namespace tavrel {

namespace {

constexpr int minimumWidth = 720;   // design units (1/96 inch)
constexpr int minimumHeight = 330;

// An exception that escapes a message is shown, and the message answers 0. Reports go to
// the runtime's failure report once there is one; until then a box tells the user.
void showFailure(HWND window, const wchar_t* message) {
    MessageBoxW(window, lookup(message), L"Tavrel", MB_ICONERROR);
}

}  // namespace

MainWindow::MainWindow(std::filesystem::path file) : configFile(std::move(file)) {}

MainWindow::~MainWindow() {
    runtime.reset();  // hooks removed and threads joined while the window state still exists
    if (hwnd) DestroyWindow(hwnd);
}

void MainWindow::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                                      LR_SHARED));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    checkWin32(RegisterClassExW(&windowClass) != 0, L"Register main window");
}

void MainWindow::create(HINSTANCE instance) {
    const UINT dpi = GetDpiForSystem();
    const HWND created = CreateWindowExW(0, className, L"Tavrel v" TAVREL_VERSION_WIDE,
                                         WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                         MulDiv(config.width, static_cast<int>(dpi), 96),
                                         MulDiv(config.height, static_cast<int>(dpi), 96), nullptr, nullptr,
                                         instance, this);
    checkWin32(created != nullptr, L"Create main window");
}

void MainWindow::show() {
    ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
}

LRESULT CALLBACK MainWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->handle(message, wParam, lParam);
    } catch (const Error& error) {
        showFailure(window, error.message().c_str());
    } catch (...) {
        showFailure(window, L"Unexpected application error.");
    }
    return 0;
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case msgActivateInstance:
        // A second start asked for us; with wParam 1 the hotkeys pause first.
        if (wParam != 0 && runtime) runtime->setPaused(true);
        show();
        return 0;
    case WM_GETMINMAXINFO: {
        const int dpi = static_cast<int>(GetDpiForWindow(hwnd));
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {MulDiv(minimumWidth, dpi, 96), MulDiv(minimumHeight, dpi, 96)};
        return 0;
    }
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY: {
        // The window is gone; the object lives on until run() ends.
        const HWND window = hwnd;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case msgInputReset:
        if (!runtime) return DefWindowProcW(hwnd, message, wParam, lParam);
        runtime->resetInput();
        return 0;
    case WM_DESTROY:
        if (runtime) runtime->stopAll();
        PostQuitMessage(0);
        return 0;
    default:
        // Until the notification area holds our icon, closing the window ends the program
        // (DefWindowProcW destroys it on WM_CLOSE).
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace tavrel
