#pragma once
// An input sink that records every batch instead of injecting it, and can play a
// SendInput that accepts only part of a batch.

#include "runtime/input_sink.h"

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace tavrel::test {

class RecordingSink final : public InputSink {
public:
    struct Batch {
        std::vector<INPUT> events;
        std::chrono::steady_clock::time_point at;
    };

    UINT send(std::span<INPUT> events) override {
        std::function<void(std::size_t)> hook;
        UINT accepted = static_cast<UINT>(events.size());
        {
            const std::lock_guard lock(mutex_);
            batches_.push_back({{events.begin(), events.end()}, std::chrono::steady_clock::now()});
            if (acceptOnce_) {
                accepted = std::min(accepted, static_cast<UINT>(*acceptOnce_));
                acceptOnce_.reset();
            }
            hook = onSend;
        }
        if (hook) hook(batches().size());
        if (accepted < events.size()) SetLastError(ERROR_ACCESS_DENIED);
        return accepted;
    }

    // The next batch is accepted only up to count events.
    void acceptOnly(std::size_t count) {
        const std::lock_guard lock(mutex_);
        acceptOnce_ = count;
    }

    std::vector<Batch> batches() const {
        const std::lock_guard lock(mutex_);
        return batches_;
    }

    // Every recorded event, in order.
    std::vector<INPUT> sent() const {
        std::vector<INPUT> all;
        for (const Batch& batch : batches()) all.insert(all.end(), batch.events.begin(), batch.events.end());
        return all;
    }

    // Called after each batch with the number of batches so far (on the sending thread).
    std::function<void(std::size_t)> onSend;

private:
    mutable std::mutex mutex_;
    std::vector<Batch> batches_;
    std::optional<std::size_t> acceptOnce_;
};

}  // namespace tavrel::test
