#include "sys/ids.h"

#include "sys/error.h"

#include <objbase.h>

namespace tavrel {

std::wstring createId() {
    GUID guid{};
    const HRESULT hr = CoCreateGuid(&guid);
    if (FAILED(hr)) throw windowsError(L"Create ID", static_cast<DWORD>(hr));
    wchar_t buffer[40];
    const int length = StringFromGUID2(guid, buffer, 40);
    return std::wstring(buffer, length > 0 ? length - 1 : 0);
}

}  // namespace tavrel
