#pragma once
// The one exception type of the program and the texts of Windows error codes.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace tavrel {

// Every failure travels as an Error. The message is what the user is told (it passes
// through the message table when shown); details are an optional technical addition.
// what() is fixed: code that wants the text reads message().
class Error : public std::runtime_error {
public:
    explicit Error(std::wstring message, std::wstring details = {});

    const std::wstring& message() const noexcept { return message_; }
    const std::wstring& details() const noexcept { return details_; }

private:
    std::wstring message_;
    std::wstring details_;
};

// A folder that cannot take an installation; code is the Windows error behind it.
class InstallError : public Error {
public:
    explicit InstallError(long code);

    long code() const noexcept { return code_; }

private:
    long code_;
};

// The system's text for an error code (kept exactly as Windows gives it, or
// "Unknown error"), a blank and the code as unsigned decimal in parentheses.
std::wstring systemText(DWORD code);

// "<operation>: <systemText(code)>".
Error windowsError(const std::wstring& operation, DWORD code);

// Throws windowsError(operation, GetLastError()) when ok is false.
void checkWin32(bool ok, const wchar_t* operation);

}  // namespace tavrel
