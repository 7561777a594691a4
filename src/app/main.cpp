// The GUI entry point: runs the program and turns a failed start into a message box.

#include "app/messages.h"
#include "app/run.h"
#include "sys/error.h"

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const wchar_t* message = nullptr;
    std::wstring text;
    try {
        return tavrel::run(instance);
    } catch (const tavrel::Error& error) {
        text = error.message();
        message = tavrel::lookup(text.c_str());
    } catch (const std::exception&) {
        message = tavrel::lookup(L"Unexpected startup failure.");
    }
    MessageBoxW(nullptr, message, L"Tavrel", MB_ICONERROR);
    return 1;
}
