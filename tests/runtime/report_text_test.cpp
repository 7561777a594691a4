// The exact texts of failure reports and of the status line.

#include "runtime/report_text.h"
#include "runtime/status_text.h"

#include "../model/builders.h"
#include "model/names.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

using namespace test;

SYSTEMTIME sampleTime() {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = 7;
    time.wHour = 4;
    time.wMinute = 5;
    time.wSecond = 9;
    time.wMilliseconds = 42;
    return time;
}

TEST(ReportText, HeaderThenDetails) {
    EXPECT_EQ(reportText(sampleTime(), L"Queue is full", 1234, false, L"Queue capacity: 32."),
              L"Tavrel v1.5.3 (x64)\r\nUTC: 2026-03-07T04:05:09.042Z\r\nError: Queue is full\r\n"
              L"Process ID: 1234\r\nHotkeys: active\r\nQueue capacity: 32.\r\n");
    EXPECT_EQ(reportText(sampleTime(), L"Boom", 7, true, L""),
              L"Tavrel v1.5.3 (x64)\r\nUTC: 2026-03-07T04:05:09.042Z\r\nError: Boom\r\nProcess ID: 7\r\n"
              L"Hotkeys: paused\r\n");
}

TEST(OneLine, EveryRunOfWhiteSpaceBecomesOneBlankAndLeadingSpaceGoes) {
    EXPECT_EQ(oneLine(L"  \tFirst line\r\n\r\nsecond\t\tpart  "), L"First line second part ");
    EXPECT_EQ(oneLine(L"plain"), L"plain");
    EXPECT_EQ(oneLine(L" \r\n "), L"");
}

Binding threeSteps() {
    Binding b = bindingOf(L"{ID}", L"Open tools", keyboard(scanF8, modCtrl));
    b.keepOriginalFunction = false;
    b.onPress = {delayAction(10), keyAction(keyboard(0x1E, modShift)), textAction(L"secret text")};
    return b;
}

TEST(RunFailureBody, FailedKeyStepWithoutDiagnostics) {
    const Binding b = threeSteps();
    const std::wstring body = runFailureBody({.binding = &b, .hold = false, .step = 2, .details = L"",
                                              .foregroundBefore = L"hwnd=0x1\r\n", .foregroundAfter = L"hwnd=0x2\r\n"});
    EXPECT_EQ(body, L"Binding: Open tools\r\nBinding ID: {ID}\r\nTrigger: " + triggerText(b.trigger) +
                        L"\r\nSequence: On press\r\nStep: 2/3 (enabled actions)\r\nOriginal trigger: blocked\r\n"
                        L"Action: " + actionTypeName(ActionType::key) + L"\r\nParameters: " +
                        actionSummary(b.onPress[1]) +
                        L"\r\n\r\nForeground before action:\r\nhwnd=0x1\r\n\r\nForeground after failure:\r\nhwnd=0x2\r\n"
                        L"\r\nFailed run ended; remaining steps skipped. Other queued runs and hotkeys remain available.");
    EXPECT_EQ(runFailureMessage(b, 2, L"SendInput accepted 0/4 events."),
              L"Open tools, step 2: SendInput accepted 0/4 events.");
}

TEST(RunFailureBody, TextStepGivesOnlyTheLengthAndDiagnosticsGetTheirSection) {
    Binding b = threeSteps();
    b.keepOriginalFunction = true;
    b.onHold = b.onPress;
    const std::wstring body = runFailureBody({.binding = &b, .hold = true, .step = 3, .details = L"a=1\r\n",
                                              .foregroundBefore = L"", .foregroundAfter = L"hwnd=0x0\r\n"});
    EXPECT_NE(body.find(L"Sequence: On hold\r\nStep: 3/3 (enabled actions)\r\nOriginal trigger: pass through\r\n"),
              std::wstring::npos);
    EXPECT_NE(body.find(L"Text length: 11 UTF-16 code units\r\n"), std::wstring::npos);
    EXPECT_EQ(body.find(L"secret"), std::wstring::npos) << "the text itself is never written";
    EXPECT_NE(body.find(L"hwnd=0x0\r\n\r\nOperation diagnostics:\r\na=1\r\n\r\nFailed run ended;"), std::wstring::npos);
}

TEST(RunFailureBody, ProgramLayoutAndClientClickBlocks) {
    Binding b = bindingOf(L"{P}", L"Launch");
    Action program = programAction(L"notepad.exe");
    program.arguments = L"a.txt";
    program.directory = L"C:\\Work";
    program.activate = true;
    program.windowPolicy = WindowPolicy::newestProcess;
    program.windowTitle = L"Note";
    program.windowClass = L"Edit";
    Action click = clickAction(2, 1);
    click.client = true;
    click.windowExe = L"app.exe";
    click.windowTitle = L"T";
    click.windowClass = L"C";
    b.onPress = {program, layoutAction(L"00000409", L"US"), click};
    const auto bodyAt = [&](std::size_t step) {
        return runFailureBody({.binding = &b, .hold = false, .step = step, .details = L"", .foregroundBefore = L"",
                               .foregroundAfter = L""});
    };
    EXPECT_NE(bodyAt(1).find(L"Executable: notepad.exe\r\nArguments: a.txt\r\nWorking folder: C:\\Work\r\n"
                             L"Launch mode: open or activate\r\nWindow policy: 2 (0=first enumerated, 1=oldest process, "
                             L"2=newest process)\r\nTitle filter: Note\r\nClass filter: Edit\r\n"
                             L"Path resolution unavailable\r\n\r\nForeground before action:"),
              std::wstring::npos);
    EXPECT_NE(bodyAt(2).find(L"Parameters: " + actionSummary(b.onPress[1]) + L"\r\nLayout ID: 00000409\r\n"),
              std::wstring::npos);
    EXPECT_NE(bodyAt(3).find(L"\r\nTarget executable: app.exe\r\nTarget title: T\r\nTarget class: C\r\n"),
              std::wstring::npos);
    EXPECT_EQ(bodyAt(0).find(L"Action: "), std::wstring::npos) << "failed before its first action";
}

TEST(StatusText, QueuedCountFollowsTheStatus) {
    EXPECT_EQ(statusLine(L"Ready", 0), L"Ready");
    EXPECT_EQ(statusLine(L"Ready", 32), L"Ready \u00B7 Queued: 32");
    EXPECT_EQ(runningStatus(L"Open tools", 2, 3), L"Running: Open tools, step 2/3");
}

TEST(WindowSnapshotText, WritesTheHandleInUpperCaseHex) {
    EXPECT_EQ(windowSnapshotText(reinterpret_cast<HWND>(0x1A2B)), L"hwnd=0x1A2B\r\n");
    EXPECT_EQ(windowSnapshotText(nullptr), L"hwnd=0x0\r\n");
}

}  // namespace
}  // namespace tavrel
