#include "sys/ids.h"

#include "sys/hresult.h"

#include <objbase.h>

namespace tavrel {

std::wstring createId() {
    GUID guid{};
    checkHresult(CoCreateGuid(&guid), L"Create ID");
    wchar_t buffer[40];
    const int length = StringFromGUID2(guid, buffer, 40);
    return std::wstring(buffer, length > 0 ? length - 1 : 0);
}

}  // namespace tavrel
