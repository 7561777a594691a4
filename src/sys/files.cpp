#include "sys/files.h"

#include "sys/error.h"
#include "sys/handle.h"

namespace tavrel {

void flushFile(const std::filesystem::path& path) {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    checkWin32(static_cast<bool>(file), L"Open file for flush");
    checkWin32(FlushFileBuffers(file.get()) != FALSE, L"Flush file");
}

bool fileExists(const std::filesystem::path& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::filesystem::path modulePath() {
    constexpr DWORD capacity = 32768;
    std::wstring buffer(capacity, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), capacity);
    // A full buffer means the path was cut short.
    if (length == 0 || length >= capacity) throw Error(L"Cannot determine application path.");
    buffer.resize(length);
    return buffer;
}

std::filesystem::path expandPath(const std::wstring& path, const std::filesystem::path& base) {
    constexpr const wchar_t* operation = L"Expand environment variables in path";
    DWORD size = ExpandEnvironmentStringsW(path.c_str(), nullptr, 0);
    checkWin32(size != 0, operation);
    std::wstring expanded;
    for (;;) {
        expanded.assign(size, L'\0');
        const DWORD needed = ExpandEnvironmentStringsW(path.c_str(), expanded.data(), size);
        checkWin32(needed != 0, operation);
        if (needed <= size) break;
        size = needed;  // the environment grew between the two calls
    }
    expanded.resize(wcslen(expanded.c_str()));

    std::filesystem::path result(expanded);
    if (!(result.has_root_name() && result.has_root_directory())) result = base / result;
    return result.lexically_normal();
}

}  // namespace tavrel
