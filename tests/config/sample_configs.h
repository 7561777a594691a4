#pragma once
// Configurations and file helpers shared by the configuration store's tests, its crash
// helper and its benchmark.

#include "model/records.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavrel::test {

// Wine's own implementations differ from Windows in a few places the tests meet.
inline bool runsOnWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline Trigger key(std::uint32_t code, std::uint32_t modifiers = 0, bool extended = false) {
    return Trigger{.code = code, .extended = extended, .mouse = false, .modifiers = modifiers};
}

// One binding with every action type and every field a type uses set to a value that
// is not its default (unused fields keep their defaults).
inline Binding richBinding(std::wstring id, std::wstring name, Trigger trigger) {
    Binding binding;
    binding.id = std::move(id);
    binding.name = std::move(name);
    binding.enabled = true;
    binding.keepOriginalFunction = false;
    binding.holdEnabled = false;
    binding.holdThresholdMs = 750;
    binding.trigger = trigger;

    Action url;
    url.type = ActionType::url;
    url.value = L"https://example.com/?a=1&b=<2>";
    Action program;
    program.type = ActionType::program;
    program.enabled = false;
    program.activate = true;
    program.windowPolicy = WindowPolicy::newestProcess;
    program.value = L"C:\\Program Files\\Editor\\editor.exe";
    program.arguments = L"--open \"a b.txt\"";
    program.directory = L"%USERPROFILE%\\Documents";
    program.windowExe = L"editor.exe";
    program.windowTitle = L"Draft – Editor";
    program.windowClass = L"EditorFrame";
    Action keyPress;
    keyPress.type = ActionType::key;
    keyPress.key = key(0x1F, modCtrl | modShift);
    Action click;
    click.type = ActionType::click;
    click.client = true;
    click.windowPolicy = WindowPolicy::oldestProcess;
    click.x = -2147483647 - 1;
    click.y = 2147483647;
    click.button = 3;
    click.count = 2;
    click.windowExe = L"viewer.exe";
    click.windowTitle = L"";
    click.windowClass = L"Viewer";
    Action delay;
    delay.type = ActionType::delay;
    delay.delayMs = 600000;
    Action text;
    text.type = ActionType::text;
    text.value = L"  Line one\nLine two\ttab & <tag> \"quoted\" 'single' ]]> Ünïcødé 😀 ";
    Action layout;
    layout.type = ActionType::layout;
    layout.layoutId = L"00000409";
    layout.layoutName = L"US – International";
    Action previous;
    previous.type = ActionType::layout;
    previous.layoutId = L"previous";

    binding.onPress = {url, program, keyPress, click};
    binding.onHold = {delay, text, layout, previous};
    return binding;
}

inline Config richConfig() {
    Config config;
    config.autoUpdate = false;
    config.compact = true;
    config.language = L"uk";
    config.width = 8000;
    config.height = 300;
    config.bindings.push_back(richBinding(L"{0F0E0D0C-0B0A-0908-0706-050403020100}", L"Everything", key(0x42)));
    Binding mouse;
    mouse.id = L"mouse-4";
    mouse.name = L"  Back button  ";
    mouse.enabled = false;
    mouse.trigger = Trigger{.code = 4, .extended = false, .mouse = true, .modifiers = modWin};
    Action delay;
    delay.type = ActionType::delay;
    delay.delayMs = 0;
    mouse.onHold = {delay};
    config.bindings.push_back(mouse);
    Binding extended;
    extended.id = L"right-ctrl";
    extended.name = L"Right Ctrl + Alt";
    extended.trigger = key(0x1D, modAlt, true);
    Action url;
    url.type = ActionType::url;
    url.value = L"http://localhost:8080/";
    extended.onPress = {url};
    config.bindings.push_back(extended);
    return config;
}

// A rich binding with ASCII texts only: Wine's XML reader garbles a multi-byte character
// that straddles its read buffers, which larger files meet by chance.
inline Binding asciiBinding(std::wstring id, std::wstring name, Trigger trigger) {
    Binding binding = richBinding(std::move(id), std::move(name), trigger);
    binding.onPress[1].windowTitle = L"Draft - Editor";
    binding.onHold[1].value = L"  Line one\nLine two\ttab & <tag> \"quoted\" 'single' ]]> ";
    binding.onHold[2].layoutName = L"US - International";
    return binding;
}

// n bindings, the first enabled (F1 and on, so that triggers differ), the rest disabled.
inline Config largeConfig(int n) {
    Config config;
    config.language = L"en";
    for (int i = 0; i < n; ++i) {
        Binding binding = asciiBinding(L"binding-" + std::to_wstring(i), L"Binding " + std::to_wstring(i),
                                       key(0x3B + static_cast<std::uint32_t>(i % 10), static_cast<std::uint32_t>(i / 10 % 16)));
        binding.enabled = i < 160;
        config.bindings.push_back(std::move(binding));
    }
    return config;
}

// The two configurations the crash test's helper saves in turn (n = 0 or 1); they
// differ in size as well as content.
inline Config crashConfig(int n) {
    Config config = largeConfig(20 + 30 * n);
    config.width = 1000 + n;
    return config;
}

}  // namespace tavrel::test
