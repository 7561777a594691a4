#include "app/instance.h"

#include "app/main_window.h"
#include "app/window_messages.h"
#include "sys/error.h"

namespace tavrel {

std::vector<BYTE> currentUserSid() {
    HANDLE raw = nullptr;
    checkWin32(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw) != FALSE, L"Read user token");
    const UniqueHandle token(raw);

    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);  // asks for the size only
    std::vector<BYTE> information(size);
    checkWin32(GetTokenInformation(token.get(), TokenUser, information.data(), size, &size) != FALSE,
               L"Read current user");
    const PSID sid = reinterpret_cast<const TOKEN_USER*>(information.data())->User.Sid;
    const BYTE* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

std::wstring instanceMutexName(const std::vector<BYTE>& sid) {
    std::wstring name = L"Local\\Tavrel-";
    for (const BYTE byte : sid) name += std::to_wstring(byte) + L"-";
    return name;
}

InstanceMutex createInstanceMutex(const std::wstring& name) {
    InstanceMutex mutex;
    SetLastError(ERROR_SUCCESS);  // only an existing mutex sets ERROR_ALREADY_EXISTS
    mutex.handle.reset(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD code = GetLastError();
    if (!mutex.handle) throw windowsError(L"Create instance mutex", code);
    mutex.alreadyExisted = code == ERROR_ALREADY_EXISTS;
    return mutex;
}

void activateRunningInstance(bool safe) {
    for (int look = 0; look < 50; ++look) {
        if (const HWND window = FindWindowW(MainWindow::className, nullptr)) {
            // The user started us, so we may pass the right to come to the front on.
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            AllowSetForegroundWindow(process);
            PostMessageW(window, msgActivateInstance, safe ? 1 : 0, 0);
            return;
        }
        Sleep(100);
    }
    throw Error(L"Another instance is starting or exiting. Try again shortly.");
}

}  // namespace tavrel
