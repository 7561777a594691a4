#pragma once
// Owner of a timer of the calling thread (SetTimer without a window), killed on the same thread.

#include <windows.h>

#include <utility>

namespace tavrel {

class ThreadTimer {
public:
    ThreadTimer() noexcept = default;
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;
    ~ThreadTimer() { reset(); }

    // Replaces the timer by one firing every ms milliseconds; 0 when it could not be made.
    UINT_PTR set(UINT ms) noexcept {
        reset();
        id_ = SetTimer(nullptr, 0, ms, nullptr);
        return id_;
    }
    void reset() noexcept {
        if (id_ != 0) KillTimer(nullptr, id_);
        id_ = 0;
    }
    UINT_PTR id() const noexcept { return id_; }

private:
    UINT_PTR id_ = 0;
};

}  // namespace tavrel
