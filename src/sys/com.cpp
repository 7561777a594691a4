#include "sys/com.h"

#include "sys/hresult.h"

namespace tavrel {

ComApartment::ComApartment(DWORD model, const wchar_t* operation) {
    checkHresult(CoInitializeEx(nullptr, model), operation);
}

}  // namespace tavrel
