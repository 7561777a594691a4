// loadConfig and saveConfig on configurations of 100, 1,000 and 10,000 bindings and on one
// just under the 8 MiB limit; prints the median of several runs of each.
//   bench_config_store.exe [runs]

#include "../tests/config/sample_configs.h"
#include "config/config_reader.h"
#include "config/config_store.h"
#include "sys/com.h"
#include "sys/error.h"
#include "sys/ids.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace tavrel;

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Bindings of one delay action each, the first 160 enabled.
Config smallBindings(int n) {
    Config config;
    config.language = L"en";
    for (int i = 0; i < n; ++i) {
        Binding binding;
        binding.id = L"binding-" + std::to_wstring(i);
        binding.name = L"Binding " + std::to_wstring(i);
        binding.enabled = i < 160;
        binding.trigger = test::key(0x3B + static_cast<std::uint32_t>(i % 10), static_cast<std::uint32_t>(i / 10 % 16));
        Action delay;
        delay.type = ActionType::delay;
        delay.delayMs = 100;
        binding.onPress = {delay};
        config.bindings.push_back(std::move(binding));
    }
    return config;
}

void measure(const std::filesystem::path& path, const char* label, const Config& config, int runs) {
    saveConfig(path, config);
    const auto size = std::filesystem::file_size(path);
    const double load = medianMs(runs, [&] { loadConfig(path); });
    const double save = medianMs(runs, [&] { saveConfig(path, config); });
    std::printf("config %-28s %9llu bytes  loadConfig %8.1f ms  saveConfig %8.1f ms (median of %d)\n", label,
                static_cast<unsigned long long>(size), load, save, runs);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const ComApartment com;
        const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
        const std::filesystem::path folder = std::filesystem::temp_directory_path() / (L"tavrel-bench-" + createId());
        std::filesystem::create_directories(folder);
        const std::filesystem::path path = folder / L"config.xml";
        measure(path, "100 bindings", smallBindings(100), runs);
        measure(path, "1,000 bindings", smallBindings(1000), runs);
        measure(path, "10,000 bindings", smallBindings(10000), runs);
        // Rich bindings (every action type) up to just under the limit.
        Config large = test::largeConfig(1);
        saveConfig(path, large);
        const double perBinding = static_cast<double>(std::filesystem::file_size(path));
        large = test::largeConfig(static_cast<int>(static_cast<double>(maxConfigBytes) / perBinding * 0.995));
        while (true) {
            saveConfig(path, large);
            if (std::filesystem::file_size(path) <= maxConfigBytes) break;
            large.bindings.resize(large.bindings.size() * 199 / 200);
        }
        measure(path, ("near 8 MiB, " + std::to_string(large.bindings.size()) + " rich").c_str(), large, runs);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    } catch (const Error& error) {
        std::fwprintf(stderr, L"bench_config_store: %ls\n", error.message().c_str());
        return 1;
    }
    return 0;
}
