#pragma once
// Turning a failed HRESULT into an Error with the caller's operation name.

#include "sys/error.h"

#include <windows.h>

namespace tavrel {

inline void checkHresult(HRESULT result, const wchar_t* operation) {
    if (FAILED(result)) throw windowsError(operation, static_cast<DWORD>(result));
}

}  // namespace tavrel
