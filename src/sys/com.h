#pragma once
// The COM apartment of the calling thread, entered for the owner's lifetime.

#include <objbase.h>

namespace tavrel {

class ComApartment {
public:
    // Throws windowsError(operation, result) when CoInitializeEx fails.
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED, const wchar_t* operation = L"Initialize COM");
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace tavrel
