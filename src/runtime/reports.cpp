// The runtime's last failure report.

#include "runtime/runtime.h"

#include "app/messages.h"
#include "app/window_messages.h"
#include "runtime/report_text.h"
#include "sys/error.h"

namespace tavrel {

void Runtime::report(const std::wstring& message, const std::wstring& details) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    const std::wstring shown = lookup(message.c_str());
    std::wstring text = reportText(utc, shown, GetCurrentProcessId(), paused_.load(), details);
    std::wstring line = oneLine(shown);
    {
        const std::lock_guard lock(queueLock_);
        failureLine_ = std::move(line);
        failureReport_ = std::move(text);
    }
    post(msgStatusChanged);
    post(msgErrorNotice);
}

void Runtime::reportFailure(const Job& job, std::size_t step, const Error& error,
                            const std::wstring& foregroundBefore) {
    const RunFailure failure{.binding = job.binding.get(), .hold = job.hold, .step = step,
                             .details = error.details(), .foregroundBefore = foregroundBefore,
                             .foregroundAfter = windowSnapshotText(GetForegroundWindow())};
    report(runFailureMessage(*job.binding, step, error.message()), runFailureBody(failure));
}

std::wstring Runtime::lastFailure() const {
    const std::lock_guard lock(queueLock_);
    return failureLine_;
}

std::wstring Runtime::failureDetails() const {
    const std::lock_guard lock(queueLock_);
    return failureReport_;
}

}  // namespace tavrel
