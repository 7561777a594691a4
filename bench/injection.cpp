// Injection benchmark: what the runtime itself adds between a recognised press and the
// batch it hands to SendInput, and its own cost of a 65,536-unit text, measured with a
// sink that only notes the time instead of injecting (so the system's injection cost,
// measured end to end by bench/latency.py, stays out of it).
//   bench_injection.exe [presses]

#include "runtime/input_sink.h"
#include "runtime/runtime.h"
#include "sys/com.h"

#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace {

using namespace tavrel;

using bench::now;
using bench::printStats;
using bench::ticksPerMicrosecond;

// Notes when the first batch of a run arrives and counts events, injecting nothing.
class TimingSink final : public InputSink {
public:
    UINT send(std::span<INPUT> events) override {
        if (batches.fetch_add(1) == 0) firstAt.store(now());
        this->events.fetch_add(events.size());
        return static_cast<UINT>(events.size());
    }
    void clear() {
        batches.store(0);
        events.store(0);
    }
    std::atomic<std::size_t> batches{0};
    std::atomic<std::size_t> events{0};
    std::atomic<long long> firstAt{0};
};

Trigger keyboard(std::uint32_t code, std::uint32_t modifiers = 0) {
    return Trigger{.code = code, .extended = false, .mouse = false, .modifiers = modifiers};
}

Binding binding(const wchar_t* name, Trigger trigger, Action action) {
    Binding b;
    b.id = std::wstring(L"{") + name + L"}";
    b.name = name;
    b.keepOriginalFunction = false;
    b.trigger = trigger;
    b.onPress = {std::move(action)};
    return b;
}

void waitUntil(const std::function<bool()>& done) {
    while (!done()) std::this_thread::yield();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int presses = argc > 1 ? std::max(10, _wtoi(argv[1])) : 1000;
    const double perMicrosecond = ticksPerMicrosecond();
    const ComApartment apartment(COINIT_APARTMENTTHREADED);

    Action text;
    text.type = ActionType::text;
    text.value = L"x";
    Action keys;
    keys.type = ActionType::key;
    keys.key = keyboard(0x1E, modShift);
    Action longText = text;
    longText.value.assign(65536, L'x');
    Config config;
    config.bindings = {binding(L"Text", keyboard(0x42), text), binding(L"Keys", keyboard(0x43), keys),
                       binding(L"Long", keyboard(0x44), longText)};

    const auto sink = std::make_shared<TimingSink>();
    Runtime runtime(nullptr, LayoutAccess{}, sink);
    runtime.setBindings(config);
    runtime.startWithoutHooks();
    std::uint64_t time = 1000;
    // The hook hands over the foreground window it read for the event.
    InputFacts facts;
    facts.foreground = GetForegroundWindow();

    // Press to batch: the executor wakes, opens the run's COM apartment, notes the
    // foreground window, sets the status, waits for released input and builds the batch.
    for (const auto& [name, code] : {std::pair{"press to first batch, text action", 0x42u},
                                     std::pair{"press to first batch, key action", 0x43u}}) {
        std::vector<double> samples;
        for (int i = 0; i < presses; ++i) {
            sink->clear();
            const long long start = now();
            runtime.feedInput(keyboard(code), true, time += 10, facts);
            waitUntil([&] { return sink->batches.load() > 0; });
            samples.push_back(static_cast<double>(sink->firstAt.load() - start) / perMicrosecond);
            runtime.feedInput(keyboard(code), false, time += 10, {});
            waitUntil([&] { return runtime.statusText() == L"Ready"; });
        }
        printStats(name, samples, "runs");
    }

    // The runtime's own share of a long text: 2,048 chunks with their release waits and
    // foreground checks, into a sink that injects nothing.
    std::vector<double> longRuns;
    for (int round = 0; round < 5; ++round) {
        sink->clear();
        const long long start = now();
        runtime.feedInput(keyboard(0x44), true, time += 10, facts);
        waitUntil([&] { return sink->events.load() == 2 * 65536; });
        longRuns.push_back(static_cast<double>(now() - start) / perMicrosecond / 1000.0);
        runtime.feedInput(keyboard(0x44), false, time += 10, {});
        waitUntil([&] { return runtime.statusText() == L"Ready"; });
    }
    std::sort(longRuns.begin(), longRuns.end());
    std::printf("%-48s median %7.1f ms   max %7.1f ms   (%zu batches a run)\n",
                "65,536-unit text, runtime's own work", longRuns[longRuns.size() / 2], longRuns.back(),
                static_cast<std::size_t>(sink->batches.load()));

    // For reference: the calls a run makes that cross into the system.
    std::vector<double> comPairs, foreground;
    std::thread([&] {
        // Like the executor: one thread, an apartment per run.
        for (int i = 0; i < presses; ++i) {
            const long long start = now();
            { const ComApartment runApartment(COINIT_APARTMENTTHREADED); }
            comPairs.push_back(static_cast<double>(now() - start) / perMicrosecond);
        }
    }).join();
    for (int i = 0; i < presses; ++i) {
        const long long start = now();
        GetForegroundWindow();
        foreground.push_back(static_cast<double>(now() - start) / perMicrosecond);
    }
    printStats("reference: COM apartment open and close", comPairs, "calls");
    printStats("reference: GetForegroundWindow", foreground, "calls");
    return 0;
}
