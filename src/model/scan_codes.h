#pragma once
// Scan codes (without the E0 prefix) of the keys the rules name.

#include <cstdint>

namespace tavrel {

constexpr std::uint32_t scanBackspace = 0x0E;
constexpr std::uint32_t scanCtrl = 0x1D;        // Left Ctrl; Right Ctrl when extended
constexpr std::uint32_t scanLeftShift = 0x2A;
constexpr std::uint32_t scanRightShift = 0x36;
constexpr std::uint32_t scanAlt = 0x38;         // Left Alt; Right Alt when extended
constexpr std::uint32_t scanF8 = 0x42;
constexpr std::uint32_t scanLeftWin = 0x5B;     // extended
constexpr std::uint32_t scanRightWin = 0x5C;    // extended

}  // namespace tavrel
