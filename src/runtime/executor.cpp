// The executor thread: one run at a time from the queue, each in its own COM apartment,
// and the dispatch of each action by type.

#include "runtime/runtime.h"

#include "model/bindings.h"
#include "runtime/report_text.h"
#include "runtime/status_text.h"
#include "sys/com.h"
#include "sys/error.h"

#include <exception>
#include <utility>

namespace tavrel {

namespace {

std::wstring widen(const char* text) {
    std::wstring wide;
    for (const char* c = text; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
}

}  // namespace

void Runtime::runExecutor() {
    for (;;) {
        Job job;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(queueLock_);
            queueChanged_.wait(lock, [this] { return !queue_.empty() || stopping_.load(); });
            if (stopping_.load()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            generation = generation_.load();
            currentStamp_ = job.modifierStamp;
            currentBindingId_ = job.binding->id;
        }
        runJob(job, generation);
    }
}

void Runtime::runJob(const Job& job, std::uint64_t generation) {
    std::size_t step = 0;
    std::wstring foregroundBefore;
    bool reported = false;
    const auto failed = [&](const Error& error) {
        if (isCanceled(generation)) return;
        reportFailure(job, step, error, foregroundBefore);
        reported = true;
    };
    try {
        const ComApartment apartment(COINIT_APARTMENTTHREADED);
        const Binding& binding = *job.binding;
        // Returning to the previous layout only makes sense in the window the press was meant for.
        if (usesPreviousLayout(binding) && GetForegroundWindow() != job.foreground) throw Canceled{};
        const std::vector<Action>& list = job.hold ? binding.onHold : binding.onPress;
        for (const Action& action : list) {
            ++step;
            if (!action.enabled) continue;
            if (isCanceled(generation)) throw Canceled{};
            foregroundBefore = windowSnapshotText(GetForegroundWindow());
            setStatus(runningStatus(binding.name, step, list.size()));
            perform(action, generation, job);
        }
    } catch (const Canceled&) {
    } catch (const Error& error) {
        failed(error);
    } catch (const std::exception& error) {
        failed(Error(L"Unexpected executor failure.", widen(error.what())));
    } catch (...) {
        failed(Error(L"Unexpected executor failure.", L"Unrecognized exception"));
    }
    {
        const std::lock_guard lock(queueLock_);
        currentBindingId_.clear();
        currentStamp_ = 0;
    }
    try {
        observeLayout();
    } catch (const Error& error) {
        if (!reported) report(error.message(), error.details());
    } catch (...) {
        if (!reported) report(L"Unexpected executor failure.", L"Background layout observation failed.");
    }
    setStatus(paused_.load() ? L"Paused" : L"Ready");
}

void Runtime::perform(const Action& action, std::uint64_t generation, const Job&) {
    if (isCanceled(generation)) throw Canceled{};
    if (!action.enabled) return;
    switch (action.type) {
    case ActionType::delay:
        if (!waitFor(action.delayMs, generation)) throw Canceled{};
        return;
    case ActionType::key:
        pressKeys(action.key, generation);
        return;
    case ActionType::text:
        insertText(action.value, generation);
        return;
    case ActionType::click:
        click(action, generation);
        return;
    case ActionType::url:
    case ActionType::program:
    case ActionType::layout:
        // Each of these types gets its own step as its part of the program is built.
        throw Error(L"This action type is not available in this build.");
    }
}

}  // namespace tavrel
