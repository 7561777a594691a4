#include "app/command_line.h"

#include "sys/error.h"
#include "sys/local_memory.h"

#include <shellapi.h>

#include <algorithm>

namespace tavrel {

std::vector<std::wstring> readArguments() {
    int count = 0;
    const LocalMemory<wchar_t*> list(CommandLineToArgvW(GetCommandLineW(), &count));
    checkWin32(list != nullptr, L"Read arguments");
    return std::vector<std::wstring>(list.get(), list.get() + count);
}

StartOptions parseStartOptions(const std::vector<std::wstring>& arguments) {
    const auto has = [&](const wchar_t* option) {
        return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
    };
    return {.safe = has(L"--safe"),
            .tray = has(L"--tray"),
            .updated = has(L"--updated"),
            .updateRolledBack = has(L"--update-rolled-back")};
}

}  // namespace tavrel
