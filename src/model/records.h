#pragma once
// The configuration records: plain values, copied freely by the user interface.

#include <cstdint>
#include <string>
#include <vector>

namespace tavrel {

// Modifier bits of a trigger. They do not tell left from right.
enum Modifiers : std::uint32_t {
    modCtrl = 1,
    modAlt = 2,
    modShift = 4,
    modWin = 8,
};

// A physical key (by scan code) or mouse button, with modifiers.
struct Trigger {
    std::uint32_t code = 0x42;     // scan code without the E0 prefix, or mouse button 1..5
    bool extended = false;         // the key sends the E0 prefix
    bool mouse = false;            // code is a mouse button
    std::uint32_t modifiers = 0;   // Modifiers bits, 0..15

    friend bool operator==(const Trigger&, const Trigger&) = default;
};

// Identifies the physical key of a trigger: code, +256 when extended, +512 for a mouse button.
using KeyId = std::uint32_t;

enum class ActionType : std::uint32_t {
    url = 0,
    program = 1,
    key = 2,
    click = 3,
    delay = 4,
    text = 5,
    layout = 6,
};

// Which of several matching windows a program or click action uses.
enum class WindowPolicy : std::int32_t {
    firstMatching = 0,
    oldestProcess = 1,
    newestProcess = 2,
};

// One step of an action sequence. Fields a type does not use keep their values in memory.
struct Action {
    ActionType type = ActionType::url;
    bool enabled = true;
    bool activate = false;        // program: open or activate instead of always launching
    bool client = false;          // click: x, y relative to the target window's client area
    std::wstring windowExe;       // program, click: target window rule
    std::wstring windowTitle;
    std::wstring windowClass;
    WindowPolicy windowPolicy = WindowPolicy::firstMatching;
    std::wstring value;           // url, program path, or text to insert
    std::wstring arguments;       // program
    std::wstring directory;       // program
    std::wstring layoutId;        // layout: "previous" or 8 hexadecimal digits
    std::wstring layoutName;      // layout: display name as chosen
    Trigger key;                  // key: the combination to press
    std::int32_t x = 0;           // click position
    std::int32_t y = 0;
    std::int32_t button = 1;      // click: mouse button 1..5
    std::int32_t count = 1;       // click: 1 single, 2 double
    std::uint32_t delayMs = 0;    // delay: 0..600000

    friend bool operator==(const Action&, const Action&) = default;
};

struct Binding {
    std::wstring id;
    std::wstring name;
    bool enabled = true;
    bool keepOriginalFunction = true;
    bool holdEnabled = true;
    Trigger trigger;
    std::uint32_t holdThresholdMs = 500;
    std::vector<Action> onPress;
    std::vector<Action> onHold;

    friend bool operator==(const Binding&, const Binding&) = default;
};

struct Config {
    bool autoUpdate = true;
    bool compact = false;
    std::wstring language;        // "en", "uk", "ka", "ca", "es", "fr", "de", or empty
    std::int32_t width = 1100;    // main window size in 1/96 inch
    std::int32_t height = 760;
    std::vector<Binding> bindings;

    friend bool operator==(const Config&, const Config&) = default;
};

// The card list's filter by held keys: required modifiers and, optionally, one key.
struct KeyFilter {
    std::uint32_t modifiers = 0;
    bool hasKey = false;
    std::uint32_t code = 0;
    bool extended = false;
    bool mouse = false;

    friend bool operator==(const KeyFilter&, const KeyFilter&) = default;
};

}  // namespace tavrel
