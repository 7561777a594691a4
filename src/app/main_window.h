#pragma once
// The main window and the application state it owns while the program runs.

#include "model/records.h"
#include "runtime/runtime.h"

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

namespace tavrel {

class MainWindow {
public:
    static constexpr const wchar_t* className = L"Tavrel.Main.v1";

    explicit MainWindow(std::filesystem::path configFile);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the window class ("Register main window").
    static void registerClass(HINSTANCE instance);

    // Creates the hidden main window, sized from config at the system DPI ("Create main window").
    void create(HINSTANCE instance);

    // Restores the window and brings it to the front.
    void show();

    HWND hwnd = nullptr;
    Config config;
    std::filesystem::path configFile;
    bool configWritable = true;
    std::wstring loadError;
    std::unique_ptr<Runtime> runtime;  // created after the window; goes before the window state

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace tavrel
