#pragma once
// The texts of a failure report: the full text for the error details window, its one-line
// form for the error line and the balloon, and the body of a failed run.

#include "model/records.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace tavrel {

// Every run of tabs, line feeds, carriage returns and blanks becomes one blank; white
// space at the start is dropped.
std::wstring oneLine(const std::wstring& text);

// Header (version, UTC time, error, process, hotkey state), then the details when given.
std::wstring reportText(const SYSTEMTIME& utc, const std::wstring& message, DWORD processId, bool paused,
                        const std::wstring& details);

struct RunFailure {
    const Binding* binding = nullptr;
    bool hold = false;
    std::size_t step = 0;                 // 1-based; 0 when the run failed before its first action
    std::wstring details;                 // the error's own diagnostics
    std::wstring foregroundBefore;        // snapshot before the failing action
    std::wstring foregroundAfter;         // snapshot after the failure
};

// The body of a failed run's report.
std::wstring runFailureBody(const RunFailure& failure);

// The report's message for a failed run: "<name>, step <s>: <message>".
std::wstring runFailureMessage(const Binding& binding, std::size_t step, const std::wstring& message);

// The foreground-window lines of a report. Only the handle for now; the full window
// snapshot of window targeting replaces this.
std::wstring windowSnapshotText(HWND window);

}  // namespace tavrel
