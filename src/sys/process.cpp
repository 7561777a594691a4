#include "sys/process.h"

#include "sys/error.h"
#include "sys/local_memory.h"

#include <shellapi.h>

namespace tavrel {

std::wstring quoteArgument(const std::wstring& text) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t ch : text) {
        if (ch == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quotation mark follows: then each is doubled
        // and one more escapes the mark.
        quoted.append(ch == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted.push_back(ch);
        backslashes = 0;
    }
    quoted.append(2 * backslashes, L'\\');  // the closing mark follows them
    quoted.push_back(L'"');
    return quoted;
}

std::vector<std::wstring> splitCommandLine(const wchar_t* commandLine, const wchar_t* operation) {
    int count = 0;
    const LocalMemory<wchar_t*> list(CommandLineToArgvW(commandLine, &count));
    checkWin32(list != nullptr, operation);
    return std::vector<std::wstring>(list.get(), list.get() + count);
}

UniqueHandle startProcess(const std::wstring& executable, const std::wstring& arguments,
                          const std::wstring& directory, bool inheritHandles) {
    std::wstring commandLine = quoteArgument(executable);
    if (!arguments.empty()) commandLine += L" " + arguments;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, inheritHandles, 0,
                                        nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info);
    if (!started) {
        const DWORD code = GetLastError();
        throw windowsError(L"Start " + executable, code);
    }
    UniqueHandle thread(info.hThread);
    return UniqueHandle(info.hProcess);
}

}  // namespace tavrel
