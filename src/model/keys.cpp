#include "model/keys.h"

#include "model/scan_codes.h"

#include <algorithm>
#include <iterator>

namespace tavrel {

namespace {

constexpr std::uint32_t allModifiers = modCtrl | modAlt | modShift | modWin;

bool inRange(std::uint32_t code, std::uint32_t first, std::uint32_t last) {
    return code >= first && code <= last;
}

bool isSupportedPlainKey(std::uint32_t code) {
    return inRange(code, 0x01, 0x53) || inRange(code, 0x56, 0x58) || inRange(code, 0x64, 0x6E) ||
           code == 0x76;
}

bool isSupportedExtendedKey(std::uint32_t code) {
    static constexpr std::uint32_t codes[] = {0x1C, 0x1D, 0x35, 0x37, 0x38, 0x47, 0x48, 0x49, 0x4B,
                                              0x4D, 0x4F, 0x50, 0x51, 0x52, 0x53, 0x5B, 0x5C, 0x5D};
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

}  // namespace

KeyId keyId(const Trigger& trigger) {
    if (trigger.mouse) return trigger.code + 512;
    return trigger.extended ? trigger.code + 256 : trigger.code;
}

bool isSupportedKey(const Trigger& trigger) {
    if (trigger.mouse) return !trigger.extended && inRange(trigger.code, 1, 5);
    return trigger.extended ? isSupportedExtendedKey(trigger.code) : isSupportedPlainKey(trigger.code);
}

std::uint32_t modifierOfKey(const Trigger& trigger) {
    if (trigger.mouse) return 0;
    switch (trigger.code) {
    case scanCtrl: return modCtrl;
    case scanAlt: return modAlt;
    case scanLeftWin:
    case scanRightWin:
        if (trigger.extended) return modWin;
        break;
    case scanLeftShift:
    case scanRightShift:
        if (!trigger.extended) return modShift;
        break;
    default: break;
    }
    return 0;
}

bool isReservedCombination(const Trigger& trigger) {
    return !trigger.mouse && !trigger.extended && trigger.code == scanBackspace &&
           (trigger.modifiers & modCtrl) != 0 && (trigger.modifiers & modAlt) != 0;
}

bool isValidTrigger(const Trigger& trigger) {
    return isSupportedKey(trigger) && trigger.modifiers <= allModifiers &&
           (trigger.modifiers & modifierOfKey(trigger)) == 0 && !isReservedCombination(trigger);
}

bool matchesKeyFilter(const Trigger& trigger, const KeyFilter& filter) {
    const std::uint32_t effective = trigger.modifiers | modifierOfKey(trigger);
    if ((filter.modifiers & ~effective) != 0) return false;
    if (!filter.hasKey) return true;
    const Trigger key{.code = filter.code, .extended = filter.extended, .mouse = filter.mouse};
    return keyId(key) == keyId(trigger);
}

}  // namespace tavrel
