#include "app/command_line.h"

#include "sys/process.h"

#include <algorithm>

namespace tavrel {

std::vector<std::wstring> readArguments() {
    return splitCommandLine(GetCommandLineW(), L"Read arguments");
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
