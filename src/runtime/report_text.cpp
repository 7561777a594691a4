#include "runtime/report_text.h"

#include "app/messages.h"
#include "model/names.h"
#include "version.h"

#include <cstdio>
#include <cwchar>

namespace tavrel {

namespace {

constexpr const wchar_t* crlf = L"\r\n";

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring twoDigits(unsigned value, int width = 2) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%0*u", width, value);
    return text;
}

std::wstring hexHandle(const void* handle) {
    wchar_t text[24];
    std::swprintf(text, 24, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(handle)));
    return text;
}

void appendActionBlock(std::wstring& body, const Action& action) {
    body += L"Action: " + actionTypeName(action.type) + crlf;
    switch (action.type) {
    case ActionType::program:
        body += L"Executable: " + action.value + crlf;
        body += L"Arguments: " + action.arguments + crlf;
        body += L"Working folder: " + action.directory + crlf;
        body += std::wstring(L"Launch mode: ") + (action.activate ? L"open or activate" : L"run") + crlf;
        body += L"Window policy: " + std::to_wstring(static_cast<std::int32_t>(action.windowPolicy)) +
                L" (0=first enumerated, 1=oldest process, 2=newest process)" + crlf;
        body += L"Title filter: " + action.windowTitle + crlf;
        body += L"Class filter: " + action.windowClass + crlf;
        // Resolving the program's path again comes with program launching.
        body += std::wstring(L"Path resolution unavailable") + crlf;
        break;
    case ActionType::text:
        body += L"Text length: " + std::to_wstring(action.value.size()) + L" UTF-16 code units" + crlf;
        break;
    default:
        body += L"Parameters: " + actionSummary(action) + crlf;
        if (action.type == ActionType::layout) body += L"Layout ID: " + action.layoutId + crlf;
        if (action.type == ActionType::click && action.client) {
            body += L"Target executable: " + action.windowExe + crlf;
            body += L"Target title: " + action.windowTitle + crlf;
            body += L"Target class: " + action.windowClass + crlf;
        }
        break;
    }
}

}  // namespace

std::wstring oneLine(const std::wstring& text) {
    std::wstring line;
    bool inBlank = false;
    for (const wchar_t c : text) {
        if (isBlank(c)) {
            inBlank = true;
            continue;
        }
        if (inBlank && !line.empty()) line += L' ';
        inBlank = false;
        line += c;
    }
    if (inBlank && !line.empty()) line += L' ';
    return line;
}

std::wstring reportText(const SYSTEMTIME& utc, const std::wstring& message, DWORD processId, bool paused,
                        const std::wstring& details) {
    std::wstring text = L"Tavrel v" TAVREL_VERSION_WIDE L" (x64)";
    text += crlf;
    text += L"UTC: " + twoDigits(utc.wYear, 4) + L"-" + twoDigits(utc.wMonth) + L"-" + twoDigits(utc.wDay) + L"T" +
            twoDigits(utc.wHour) + L":" + twoDigits(utc.wMinute) + L":" + twoDigits(utc.wSecond) + L"." +
            twoDigits(utc.wMilliseconds, 3) + L"Z" + crlf;
    text += L"Error: " + message + crlf;
    text += L"Process ID: " + std::to_wstring(processId) + crlf;
    text += std::wstring(L"Hotkeys: ") + (paused ? L"paused" : L"active") + crlf;
    if (!details.empty()) text += details + crlf;
    return text;
}

std::wstring runFailureBody(const RunFailure& failure) {
    const Binding& b = *failure.binding;
    const std::vector<Action>& list = failure.hold ? b.onHold : b.onPress;
    std::wstring body;
    body += L"Binding: " + b.name + crlf;
    body += L"Binding ID: " + b.id + crlf;
    body += L"Trigger: " + triggerText(b.trigger) + crlf;
    body += std::wstring(L"Sequence: ") + (failure.hold ? L"On hold" : L"On press") + crlf;
    body += L"Step: " + std::to_wstring(failure.step) + L"/" + std::to_wstring(list.size()) +
            L" (enabled actions)" + crlf;
    body += std::wstring(L"Original trigger: ") + (b.keepOriginalFunction ? L"pass through" : L"blocked") + crlf;
    if (failure.step >= 1 && failure.step <= list.size()) appendActionBlock(body, list[failure.step - 1]);
    body += std::wstring(crlf) + L"Foreground before action:" + crlf + failure.foregroundBefore;
    body += std::wstring(crlf) + L"Foreground after failure:" + crlf + failure.foregroundAfter;
    if (!failure.details.empty()) body += std::wstring(crlf) + L"Operation diagnostics:" + crlf + failure.details;
    body += std::wstring(crlf) +
            L"Failed run ended; remaining steps skipped. Other queued runs and hotkeys remain available.";
    return body;
}

std::wstring runFailureMessage(const Binding& binding, std::size_t step, const std::wstring& message) {
    return binding.name + L", " + lookupCopy(L"step") + L" " + std::to_wstring(step) + L": " + message;
}

std::wstring windowSnapshotText(HWND window) { return L"hwnd=" + hexHandle(window) + crlf; }

}  // namespace tavrel
