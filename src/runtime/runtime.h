#pragma once
// The hotkey runtime: low-level hooks on a hook thread feed trigger recognition, which
// queues runs for one executor thread. The user-interface thread calls the thread-safe
// operations below; the runtime reaches the main window only by posted messages.

#include "layouts/layout_access.h"
#include "model/records.h"
#include "runtime/input_sink.h"
#include "runtime/job.h"
#include "runtime/trigger_engine.h"
#include "sys/thread_timer.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>

namespace tavrel {

class Error;

class Runtime {
public:
    static constexpr std::size_t queueCapacity = 32;

    // Nothing runs until start(). sink receives injected input (the system's SendInput
    // when null).
    Runtime(HWND mainWindow, LayoutAccess layouts, std::shared_ptr<InputSink> sink = nullptr);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // Installs the hooks on the hook thread, then starts the executor. Throws Error
    // "Cannot install input hooks: ..." when a hook cannot be installed.
    void start();
    // The executor alone, recognition fed through feedInput: for tests and benchmarks
    // that must not take the desktop's input.
    void startWithoutHooks();

    void setBindings(const Config& config);
    void setPaused(bool paused);
    bool isPaused() const { return paused_.load(); }
    void stopAll();
    void resetInput();

    // The editors' captures: the result (or the end) is posted to window as msgCaptureKey
    // or msgCapturePoint.
    void beginCapture(HWND window, CaptureMode mode);
    void cancelCapture();
    POINT capturedPoint() const;

    std::wstring statusText() const;
    void setStatus(std::wstring text);

    // The last failure: one line, and the full report text.
    std::wstring lastFailure() const;
    std::wstring failureDetails() const;
    void report(const std::wstring& message, const std::wstring& details);
    void reportFailure(const Job& job, std::size_t step, const Error& error, const std::wstring& foregroundBefore);

    // One event through recognition, as the hook procedures hand it over (thread-safe).
    // keyboard is the hook's keyboard event, when there is one.
    InputDecision feedInput(const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts,
                            const KBDLLHOOKSTRUCT* keyboard = nullptr);

    // The interruptible delay: true when the whole delay elapsed.
    bool waitFor(std::uint32_t ms, std::uint64_t generation);
    bool isCanceled(std::uint64_t generation) const {
        return stopping_.load() || generation_.load() != generation;
    }
    std::uint64_t generation() const { return generation_.load(); }

    HWND mainWindow() const { return mainWindow_; }

private:
    friend struct HookProcedures;

    void enqueue(Job job);
    void cancelQueued();
    void post(UINT message) const;
    InputDecision feedInputLocked(const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts,
                                  const KBDLLHOOKSTRUCT* keyboard);

    // Injection, on the executor thread.
    // Waits until no modifier is held and key (when given) is up; throws Canceled.
    // Answers whether it had to wait.
    bool waitForInputRelease(const Trigger* key, std::uint64_t generation);
    // One SendInput batch; after a partial acceptance releases what it pressed, then throws.
    void sendInputs(std::span<INPUT> events, std::uint64_t generation);
    void pressKeys(const Trigger& key, std::uint64_t generation);
    void insertText(const std::wstring& text, std::uint64_t generation);
    void click(const Action& action, std::uint64_t generation);
    // On the hook thread, with the input lock held: what the Windows-key step decided to inject.
    void forwardWinKeys(const WinDecision& decision, const KBDLLHOOKSTRUCT* keyboard);

    void runExecutor();
    void runJob(const Job& job, std::uint64_t generation);
    void perform(const Action& action, std::uint64_t generation, const Job& job);
    // The keyboard-layout history's observation; nothing to observe yet.
    void observeLayout() {}

    void runHookThread(std::promise<DWORD>& installed);
    void hookMessageLoop();
    void onHoldTimer();
    void onInputReset();
    void scheduleHoldTimer(std::optional<std::uint64_t> deadline);
    void observeFromTimer();

    const HWND mainWindow_;
    const LayoutAccess layouts_;
    const std::shared_ptr<InputSink> sink_;

    // Lock order when nested: input, queue, layout.
    mutable std::mutex inputLock_;
    mutable std::mutex queueLock_;
    std::mutex layoutLock_;
    std::condition_variable inputChanged_;
    std::condition_variable queueChanged_;

    std::atomic<bool> paused_{false};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> generation_{0};

    TriggerEngine engine_;                   // input lock
    std::optional<HWND> eventForeground_;    // input lock: the current event's foreground window

    std::deque<Job> queue_;                  // queue lock, from here
    std::wstring status_;
    std::wstring failureLine_;
    std::wstring failureReport_;
    std::uint64_t currentStamp_ = 0;
    std::wstring currentBindingId_;

    std::atomic<DWORD> hookThreadId_{0};
    ThreadTimer holdTimer_;                  // hook thread only, from here
    ThreadTimer observeTimer_;
    bool observationFailed_ = false;
    std::thread hookThread_;
    std::thread executorThread_;
};

}  // namespace tavrel
