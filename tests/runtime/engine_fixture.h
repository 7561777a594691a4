#pragma once
// A recognition engine with recorded runs, and short ways to feed it exact events.

#include "../model/builders.h"
#include "model/bindings.h"
#include "runtime/trigger_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace tavrel::test {

inline Trigger leftCtrl() { return keyboard(scanCtrl); }
inline Trigger rightCtrl() { return extendedKey(scanCtrl); }
inline Trigger leftAlt() { return keyboard(scanAlt); }
inline Trigger leftShift() { return keyboard(scanLeftShift); }
inline Trigger f8() { return keyboard(scanF8); }
inline Trigger keyC() { return keyboard(0x2E); }
inline Trigger keyA() { return keyboard(0x1E); }
inline Trigger backspace() { return keyboard(scanBackspace); }

// What a run queued: "<binding name> press" or "<binding name> hold".
inline std::string runName(const Job& job) {
    std::string name(job.binding->name.begin(), job.binding->name.end());
    return name + (job.hold ? " hold" : " press");
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        engine.enqueue = [this](Job job) { runs.push_back(runName(job)); jobs.push_back(std::move(job)); };
        engine.onStopAll = [this] { ++stops; };
    }

    void use(std::vector<Binding> bindings) {
        Config config;
        config.bindings = std::move(bindings);
        engine.setBindings(makeRuntimeBindings(config));
    }

    // Answers whether the event is swallowed.
    bool down(const Trigger& key, std::uint64_t time = 1000) { return engine.processInput(key, true, time, facts).swallow(); }
    bool up(const Trigger& key, std::uint64_t time = 1000) { return engine.processInput(key, false, time, facts).swallow(); }

    TriggerEngine engine;
    InputFacts facts;  // another program is in front
    std::vector<std::string> runs;
    std::vector<Job> jobs;
    int stops = 0;
};

// A binding with a press action and, when holdMs is given, a hold action with that threshold.
inline Binding binding(const char* name, Trigger trigger, bool keep = true, std::uint32_t holdMs = 0) {
    Binding b = bindingOf(L"id-" + std::wstring(name, name + std::char_traits<char>::length(name)),
                          std::wstring(name, name + std::char_traits<char>::length(name)), trigger);
    b.keepOriginalFunction = keep;
    if (holdMs != 0) {
        b.holdThresholdMs = holdMs;
        b.onHold = {delayAction(5)};
    }
    return b;
}

// A binding whose press runs the given actions; it blocks its key unless keep.
inline Binding withPress(const char* name, Trigger trigger, std::vector<Action> actions, bool keep = true) {
    Binding b = binding(name, trigger, keep);
    b.onPress = std::move(actions);
    return b;
}

// Waits (up to a generous limit) until the condition holds; answers whether it did.
template <typename Predicate>
bool eventually(Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace tavrel::test
