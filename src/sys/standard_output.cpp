#include "sys/standard_output.h"

#include "sys/handle.h"

#include <windows.h>

namespace tavrel {

namespace {

bool writeUtf8(HANDLE output, const std::wstring& line) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), utf8.data(), size, nullptr, nullptr);
    DWORD written = 0;
    return WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) != FALSE;
}

void writeTo(HANDLE output, const std::wstring& line) {
    DWORD mode = 0;
    if (GetConsoleMode(output, &mode)) {
        DWORD written = 0;
        WriteConsoleW(output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    writeUtf8(output, line);
}

}  // namespace

void writeStandardOutputLine(const std::wstring& text) {
    const std::wstring line = text + L"\r\n";
    const HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    if (given != nullptr && given != INVALID_HANDLE_VALUE) {
        writeTo(given, line);
        return;
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    const UniqueHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, 0, nullptr));
    if (console) writeTo(console.get(), line);
    FreeConsole();
}

}  // namespace tavrel
