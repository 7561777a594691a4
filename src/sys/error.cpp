#include "sys/error.h"

#include "app/messages.h"
#include "sys/local_memory.h"

namespace tavrel {

Error::Error(std::wstring message, std::wstring details)
    : std::runtime_error("Windows operation failed"), message_(std::move(message)), details_(std::move(details)) {}

InstallError::InstallError(long code)
    : Error(lookupCopy(L"Choose a writable folder.") + L"\n" + systemText(static_cast<DWORD>(code))), code_(code) {}

std::wstring systemText(DWORD code) {
    wchar_t* raw = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code, 0,
        reinterpret_cast<wchar_t*>(&raw), 0, nullptr);
    const LocalMemory<wchar_t> buffer(raw);
    std::wstring text = length != 0 && buffer ? std::wstring(buffer.get(), length) : std::wstring(L"Unknown error");
    return text + L" (" + std::to_wstring(static_cast<unsigned long>(code)) + L")";
}

Error windowsError(const std::wstring& operation, DWORD code) { return Error(operation + L": " + systemText(code)); }

void checkWin32(bool ok, const wchar_t* operation) {
    if (ok) return;
    const DWORD code = GetLastError();  // read before anything else can overwrite it
    throw windowsError(operation, code);
}

}  // namespace tavrel
