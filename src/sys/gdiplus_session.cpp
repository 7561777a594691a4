#include "sys/gdiplus_session.h"

#include "sys/error.h"

#include <objidl.h>
#include <gdiplus.h>

namespace tavrel {

GdiplusSession::GdiplusSession() {
    const Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, no suppression
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) {
        const DWORD code = GetLastError();
        throw windowsError(L"Initialize graphics", code);
    }
}

GdiplusSession::~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

}  // namespace tavrel
