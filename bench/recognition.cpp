// Recognition benchmark: the cost of one key event through the recognition engine with
// 10, 1,000 and 10,000 bindings, and the time from a keyboard hook call to its return
// with the runtime running (hooks installed, executor taking the runs).
//   bench_recognition.exe [events]

#include "model/bindings.h"
#include "runtime/hook_procedures.h"
#include "runtime/runtime.h"
#include "runtime/trigger_engine.h"

#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace tavrel;

using bench::now;
using bench::printStats;
using bench::ticksPerMicrosecond;

Trigger key(std::uint32_t code, std::uint32_t modifiers = 0) {
    return Trigger{.code = code, .extended = false, .mouse = false, .modifiers = modifiers};
}

// count bindings over the letter and digit rows with every modifier set; the ones the
// benchmark presses come last in the list, so a scan in order would have to pass them all.
Config bindings(std::size_t count, bool keep) {
    Config config;
    for (std::size_t i = 0; i + 2 < count; ++i) {
        Binding b;
        b.id = L"{" + std::to_wstring(i) + L"}";
        b.name = L"Binding " + std::to_wstring(i);
        b.trigger = key(0x02 + static_cast<std::uint32_t>(i % 40), static_cast<std::uint32_t>((i / 40) % 15) + 1);
        b.keepOriginalFunction = keep;
        Action delay;
        delay.type = ActionType::delay;
        b.onPress = {delay};
        config.bindings.push_back(b);
    }
    for (const std::uint32_t code : {0x42u, 0x43u}) {  // F8 press, F9 press and hold
        Binding b;
        b.id = L"{F" + std::to_wstring(code) + L"}";
        b.name = L"Measured";
        b.trigger = key(code, modCtrl);
        b.keepOriginalFunction = keep;
        Action delay;
        delay.type = ActionType::delay;
        b.onPress = {delay};
        if (code == 0x43) b.onHold = {delay};
        config.bindings.push_back(b);
    }
    return config;
}

// One round: Ctrl down, F8 down, F8 up, F9 down, F9 up, Ctrl up, A down, A up.
struct Event {
    Trigger key;
    bool down;
};
const Event round[] = {{key(0x1D), true}, {key(0x42), true}, {key(0x42), false}, {key(0x43), true},
                       {key(0x43), false}, {key(0x1D), false}, {key(0x1E), true}, {key(0x1E), false}};

void benchEngine(std::size_t count, int events, double perMicrosecond) {
    TriggerEngine engine;
    std::size_t queued = 0;
    engine.enqueue = [&queued](Job) { ++queued; };
    engine.setBindings(makeRuntimeBindings(bindings(count, false)));
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(events));
    std::uint64_t time = 1000;
    const InputFacts facts;
    for (int i = 0; i < events; ++i) {
        const Event& event = round[static_cast<std::size_t>(i) % std::size(round)];
        time += 7;
        const long long start = now();
        engine.processInput(event.key, event.down, time, facts);
        samples.push_back(static_cast<double>(now() - start) / perMicrosecond);
    }
    char label[64];
    std::snprintf(label, sizeof label, "engine, %zu bindings:", count);
    printStats(label, samples);
    if (queued == 0) std::printf("  (no run was recognised: the benchmark is broken)\n");
}

// The same through the runtime's entry: the input lock and the wake-up of release waits added.
void benchRuntimeEntry(std::size_t count, int events, double perMicrosecond) {
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.setBindings(bindings(count, false));
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(events));
    std::uint64_t time = 1000;
    InputFacts facts;
    facts.foreground = GetForegroundWindow();  // as the hook procedure reads it
    for (int i = 0; i < events; ++i) {
        const Event& event = round[static_cast<std::size_t>(i) % std::size(round)];
        time += 7;
        const long long start = now();
        runtime.feedInput(event.key, event.down, time, facts);
        samples.push_back(static_cast<double>(now() - start) / perMicrosecond);
        if (i % 256 == 255) runtime.stopAll();  // keep the queue from filling up
    }
    char label[64];
    std::snprintf(label, sizeof label, "runtime entry, %zu bindings:", count);
    printStats(label, samples);
}

KBDLLHOOKSTRUCT hookEvent(const Event& event) {
    KBDLLHOOKSTRUCT info{};
    info.vkCode = MapVirtualKeyW(event.key.code, MAPVK_VSC_TO_VK_EX);
    info.scanCode = event.key.code;
    info.flags = event.down ? 0 : LLKHF_UP;
    return info;
}

void benchHook(std::size_t count, int events, double perMicrosecond) {
    // Kept keys, so that the events the hook passes on harm nothing.
    Runtime runtime(nullptr, LayoutAccess{});
    runtime.setBindings(bindings(count, true));
    runtime.start();
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(events));
    std::vector<KBDLLHOOKSTRUCT> prepared;
    for (const Event& event : round) prepared.push_back(hookEvent(event));
    for (int i = 0; i < events; ++i) {
        const std::size_t index = static_cast<std::size_t>(i) % std::size(round);
        KBDLLHOOKSTRUCT info = prepared[index];
        info.time = static_cast<DWORD>(GetTickCount64());
        const WPARAM message = round[index].down ? WM_KEYDOWN : WM_KEYUP;
        const long long start = now();
        keyboardHookProcedure(HC_ACTION, message, reinterpret_cast<LPARAM>(&info));
        samples.push_back(static_cast<double>(now() - start) / perMicrosecond);
        if (i % std::size(round) == std::size(round) - 1) Sleep(1);  // let the executor take the runs
    }
    char label[64];
    std::snprintf(label, sizeof label, "hook call to return, %zu bindings:", count);
    printStats(label, samples);
}

// What the hook procedure spends in Windows itself on every supported event, for comparison.
void benchPlatformCalls(int events, double perMicrosecond) {
    std::vector<double> foreground, next;
    for (int i = 0; i < events; ++i) {
        long long start = now();
        DWORD process = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &process);
        foreground.push_back(static_cast<double>(now() - start) / perMicrosecond);
        start = now();
        CallNextHookEx(nullptr, HC_ACTION, WM_KEYDOWN, 0);
        next.push_back(static_cast<double>(now() - start) / perMicrosecond);
    }
    printStats("baseline: foreground window and its process:", foreground);
    printStats("baseline: CallNextHookEx:", next);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int events = argc > 1 ? std::max(80, _wtoi(argv[1])) : 200000;
    const double perMicrosecond = ticksPerMicrosecond();
    for (const std::size_t count : {std::size_t{10}, std::size_t{1000}, std::size_t{10000}})
        benchEngine(count, events, perMicrosecond);
    benchRuntimeEntry(10000, 50000, perMicrosecond);
    benchPlatformCalls(8000, perMicrosecond);
    for (const std::size_t count : {std::size_t{10}, std::size_t{10000}}) benchHook(count, 8000, perMicrosecond);
    return 0;
}
