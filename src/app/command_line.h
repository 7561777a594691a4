#pragma once
// The program's command line: the argument list and the start-up flags read from it.

#include <string>
#include <vector>

namespace tavrel {

struct StartOptions {
    bool safe = false;               // "--safe": hotkeys start paused, the window is always shown
    bool tray = false;               // "--tray": start hidden in the notification area
    bool updated = false;            // "--updated": this process is the freshly installed version
    bool updateRolledBack = false;   // "--update-rolled-back": the previous version was put back
};

// The arguments of this process, the program path first ("Read arguments").
std::vector<std::wstring> readArguments();

// Each flag is set when any argument equals the option exactly (case-sensitive).
StartOptions parseStartOptions(const std::vector<std::wstring>& arguments);

}  // namespace tavrel
