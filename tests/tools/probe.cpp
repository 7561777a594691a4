// A small Windows tool that end-to-end tests drive from Python.
//   probe.exe hold-instance-mutex   holds this user's instance mutex until standard input closes
// It prints "ready" once the state it was asked for is in place.

#include "app/instance.h"
#include "sys/error.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void waitForInputToClose() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[64];
    DWORD read = 0;
    while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read != 0) {
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    try {
        if (command == L"hold-instance-mutex") {
            const tavrel::InstanceMutex mutex =
                tavrel::createInstanceMutex(tavrel::instanceMutexName(tavrel::currentUserSid()));
            std::puts("ready");
            std::fflush(stdout);
            waitForInputToClose();
            return 0;
        }
    } catch (const tavrel::Error& error) {
        std::fprintf(stderr, "probe: %ls\n", error.message().c_str());
        return 1;
    }
    std::fputs("usage: probe hold-instance-mutex\n", stderr);
    return 2;
}
