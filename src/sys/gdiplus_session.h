#pragma once
// GDI+ for the process, started for the owner's lifetime.

#include <windows.h>

namespace tavrel {

class GdiplusSession {
public:
    GdiplusSession();  // "Initialize graphics"
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

}  // namespace tavrel
