// The editors' captures: recording the next key (or a modifier on its own, on its
// release) and picking a position with the next left click. While a capture runs no
// binding matches; what it records is posted to the editor's window.

#include "runtime/trigger_engine.h"

#include "app/window_messages.h"
#include "model/keys.h"

namespace tavrel {

namespace {

constexpr KeyId escapeId = 1;      // plain scan 1
constexpr KeyId leftButtonId = 513;

UINT cancelMessage(CaptureMode mode) { return msgCaptureKey + static_cast<UINT>(mode); }

}  // namespace

void TriggerEngine::beginCapture(HWND window, CaptureMode mode) {
    clearPending();
    captureWindow_ = window;
    captureMode_ = mode;
    pointArmed_ = false;
    pendingModifier_ = false;
}

std::optional<PostedMessage> TriggerEngine::cancelCapture() {
    if (!captureWindow_) return std::nullopt;
    const PostedMessage cancel{captureWindow_, cancelMessage(captureMode_), 0, -1};
    captureWindow_ = nullptr;
    return cancel;
}

void TriggerEngine::endCapture(UINT message, WPARAM wParam, LPARAM lParam, InputDecision& decision) {
    decision.capturePost = PostedMessage{captureWindow_, message, wParam, lParam};
    captureWindow_ = nullptr;
}

bool TriggerEngine::capturePress(const Trigger& key, InputDecision& decision) {
    const KeyId id = keyId(key);
    captureSwallowed_[id] = true;
    if (modifierOfKey(key) == 0) {
        endCapture(msgCaptureKey, currentModifiers(), static_cast<LPARAM>(id), decision);
    } else {
        // A modifier may be the whole trigger: it is recorded when it goes up, with the
        // other modifiers still held. The latest modifier pressed wins.
        pendingModifier_ = true;
        pendingModifierKey_ = key;
    }
    return true;
}

bool TriggerEngine::applyCapture(const Trigger& key, bool down, bool wasDown, bool m, const InputFacts& facts,
                                 InputDecision& decision) {
    const KeyId id = keyId(key);
    const bool fresh = down && !wasDown;
    if (facts.mouse) {
        if (captureMode_ == CaptureMode::key && fresh) return capturePress(key, decision);
        if (captureMode_ == CaptureMode::point && id == leftButtonId) {
            if (fresh) {
                pointArmed_ = true;
                captureSwallowed_[leftButtonId] = true;
                capturedPoint_ = facts.point;
                m = true;
            } else if (!down && pointArmed_) {
                endCapture(msgCapturePoint, 0, 0, decision);
                pointArmed_ = false;
            }
        }
        return standardRule(id, down, m);
    }

    if (down && id == escapeId) {
        endCapture(cancelMessage(captureMode_), 0, -1, decision);
        captureSwallowed_[escapeId] = true;
        return true;
    }
    if (captureMode_ == CaptureMode::point) return standardRule(id, down, m);
    if (fresh) return capturePress(key, decision);
    if (!down && pendingModifier_ && keyId(pendingModifierKey_) == id) {
        endCapture(msgCaptureKey, currentModifiers() & ~modifierOfKey(key), static_cast<LPARAM>(id), decision);
    }
    return standardRule(id, down, m);
}

}  // namespace tavrel
