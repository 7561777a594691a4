#include "config/check_config_command.h"

#include "app/messages.h"
#include "config/config_reader.h"
#include "sys/error.h"
#include "sys/files.h"
#include "sys/standard_output.h"

#include <filesystem>

namespace tavrel {

int runCheckConfigCommand(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 2 || arguments[1] != L"--check-config") return -1;
    if (arguments.size() > 3) {
        writeStandardOutputLine(lookup(L"Usage: tavrel.exe --check-config [path]"));
        return 1;
    }
    try {
        const std::filesystem::path path =
            arguments.size() == 3 ? std::filesystem::path(arguments[2]) : modulePath().parent_path() / L"config.xml";
        const Config config = loadConfig(path);
        writeStandardOutputLine(L"OK " + std::to_wstring(config.bindings.size()));
        return 0;
    } catch (const Error& error) {
        writeStandardOutputLine(lookup(error.message().c_str()));
        return 1;
    }
}

}  // namespace tavrel
