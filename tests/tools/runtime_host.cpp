// Runs the hotkey runtime with one binding on Q (a 1 ms delay) until standard input
// closes, so that end-to-end tests can type at a real window while the hooks are in.
//   tavrel_runtime_host.exe block    Q's own key function is blocked
//   tavrel_runtime_host.exe keep     Q still types
// Prints "ready" once the hooks are installed.

#include "runtime/runtime.h"
#include "sys/error.h"

#include <windows.h>

#include <string>

namespace {

void print(const char* line) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(std::char_traits<char>::length(line)),
              &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode != L"block" && mode != L"keep") return 2;
    try {
        tavrel::Binding binding;
        binding.id = L"{Q}";
        binding.name = L"Q";
        binding.trigger = tavrel::Trigger{.code = 0x10, .extended = false, .mouse = false, .modifiers = 0};
        binding.keepOriginalFunction = mode == L"keep";
        tavrel::Action delay;
        delay.type = tavrel::ActionType::delay;
        delay.delayMs = 1;
        binding.onPress = {delay};
        tavrel::Config config;
        config.bindings = {binding};

        tavrel::Runtime runtime(nullptr, tavrel::LayoutAccess{});
        runtime.setBindings(config);
        runtime.start();
        print("ready\n");
        char buffer[64];
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read != 0) {
        }
        return 0;
    } catch (const tavrel::Error&) {
        print("failed\n");
        return 1;
    }
}
