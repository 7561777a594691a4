#include "sys/com.h"

#include "sys/error.h"

namespace tavrel {

ComApartment::ComApartment(DWORD model, const wchar_t* operation) {
    const HRESULT hr = CoInitializeEx(nullptr, model);
    if (FAILED(hr)) throw windowsError(operation, static_cast<DWORD>(hr));
}

}  // namespace tavrel
