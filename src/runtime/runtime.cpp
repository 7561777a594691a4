#include "runtime/runtime.h"

#include "app/messages.h"
#include "app/window_messages.h"
#include "model/bindings.h"
#include "runtime/input_events.h"
#include "runtime/status_text.h"
#include "sys/error.h"

#include <chrono>
#include <utility>

namespace tavrel {

Runtime::Runtime(HWND mainWindow, LayoutAccess layouts, std::shared_ptr<InputSink> sink)
    : mainWindow_(mainWindow), layouts_(std::move(layouts)),
      sink_(sink ? std::move(sink) : systemInputSink()), status_(L"Ready") {
    engine_.enqueue = [this](Job job) { enqueue(std::move(job)); };
    engine_.onStopAll = [this] {
        engine_.consumeWinKeys();
        cancelQueued();
    };
}

Runtime::~Runtime() {
    stopping_.exchange(true);
    stopAll();
    if (const DWORD id = hookThreadId_.load(); id != 0) PostThreadMessageW(id, WM_QUIT, 0, 0);
    if (hookThread_.joinable()) hookThread_.join();
    if (executorThread_.joinable()) executorThread_.join();
}

void Runtime::start() {
    std::promise<DWORD> installed;
    std::future<DWORD> result = installed.get_future();
    hookThread_ = std::thread([this, &installed] { runHookThread(installed); });
    if (const DWORD code = result.get(); code != 0) {
        hookThread_.join();
        hookThreadId_.store(0);
        throw Error(L"Cannot install input hooks: " + systemText(code));
    }
    executorThread_ = std::thread([this] { runExecutor(); });
}

void Runtime::startWithoutHooks() { executorThread_ = std::thread([this] { runExecutor(); }); }

void Runtime::post(UINT message) const {
    if (mainWindow_) PostMessageW(mainWindow_, message, 0, 0);
}

void Runtime::setBindings(const Config& config) {
    RuntimeBindings snapshot = makeRuntimeBindings(config);
    const std::lock_guard lock(inputLock_);
    engine_.setBindings(std::move(snapshot));
}

void Runtime::setPaused(bool paused) {
    paused_.exchange(paused);
    {
        const std::lock_guard lock(inputLock_);
        engine_.setEnabled(!paused);
    }
    if (paused) {
        stopAll();
    } else {
        setStatus(L"Ready");
    }
}

void Runtime::stopAll() {
    {
        const std::lock_guard lock(inputLock_);
        engine_.consumeWinKeys();
        engine_.clearPending();
    }
    cancelQueued();
}

void Runtime::cancelQueued() {
    {
        const std::lock_guard lock(queueLock_);
        generation_.fetch_add(1);
        queue_.clear();
        status_ = paused_.load() ? L"Paused" : L"Ready";
    }
    {
        const std::lock_guard lock(layoutLock_);
        // The keyboard-layout history closes an open previous-layout cycle here.
    }
    queueChanged_.notify_all();
    inputChanged_.notify_all();
    post(msgStatusChanged);
}

void Runtime::resetInput() {
    stopAll();
    cancelCapture();
    if (const DWORD id = hookThreadId_.load(); id != 0) PostThreadMessageW(id, msgInputReset, 0, 0);
}

void Runtime::beginCapture(HWND window, CaptureMode mode) {
    stopAll();
    const std::lock_guard lock(inputLock_);
    engine_.beginCapture(window, mode);
}

void Runtime::cancelCapture() {
    const std::lock_guard lock(inputLock_);
    if (const auto cancel = engine_.cancelCapture())
        PostMessageW(cancel->window, cancel->message, cancel->wParam, cancel->lParam);
}

POINT Runtime::capturedPoint() const {
    const std::lock_guard lock(inputLock_);
    return engine_.capturedPoint();
}

std::wstring Runtime::statusText() const {
    const std::lock_guard lock(queueLock_);
    return statusLine(status_, queue_.size());
}

void Runtime::setStatus(std::wstring text) {
    {
        const std::lock_guard lock(queueLock_);
        status_ = std::move(text);
    }
    post(msgStatusChanged);
}

InputDecision Runtime::feedInput(const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts,
                                 const KBDLLHOOKSTRUCT* keyboard) {
    const std::lock_guard lock(inputLock_);
    return feedInputLocked(key, down, time, facts, keyboard);
}

InputDecision Runtime::feedInputLocked(const Trigger& key, bool down, std::uint64_t time, const InputFacts& facts,
                                       const KBDLLHOOKSTRUCT* keyboard) {
    eventForeground_ = facts.foreground;
    InputDecision decision = engine_.processInput(key, down, time, facts);
    eventForeground_.reset();
    forwardWinKeys(decision.win, keyboard);
    if (const auto& post = decision.capturePost) PostMessageW(post->window, post->message, post->wParam, post->lParam);
    if (decision.postKeyFilter && mainWindow_)
        PostMessageW(mainWindow_, msgKeyFilter, decision.filterModifiers, decision.filterKey);
    inputChanged_.notify_all();
    return decision;
}

void Runtime::enqueue(Job job) {
    // Within a hook event the window read for it is still the foreground: a second
    // round trip to the window manager would cost the whole desktop's input that much.
    job.foreground = eventForeground_ ? *eventForeground_ : GetForegroundWindow();
    if (usesPreviousLayout(*job.binding) && (job.binding->trigger.modifiers & modAlt) != 0) {
        // Keeps the menu bar from opening when Alt goes up after the layout switch.
        INPUT events[] = {maskKeyEvent(false), maskKeyEvent(true)};
        sink_->send(events);
    }
    bool full = false;
    {
        const std::lock_guard lock(queueLock_);
        if (paused_.load() || stopping_.load()) return;
        if (queue_.size() < queueCapacity) {
            queue_.push_back(std::move(job));
        } else {
            full = true;
        }
    }
    if (full)
        report(L"Queue is full",
               L"Queue capacity: 32. Only the new request was rejected; queued runs were preserved.");
    queueChanged_.notify_one();
    post(msgStatusChanged);
}

bool Runtime::waitFor(std::uint32_t ms, std::uint64_t generation) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(queueLock_);
    while (!isCanceled(generation)) {
        if (std::chrono::steady_clock::now() >= deadline) return true;
        queueChanged_.wait_until(lock, deadline);
    }
    return false;
}

}  // namespace tavrel
