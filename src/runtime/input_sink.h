#pragma once
// Where injected input goes: SendInput in the program, a recorder in tests.

#include <windows.h>

#include <memory>
#include <span>

namespace tavrel {

class InputSink {
public:
    virtual ~InputSink() = default;
    // Injects the events in order; answers how many were accepted (SendInput's contract).
    virtual UINT send(std::span<INPUT> events) = 0;
};

std::shared_ptr<InputSink> systemInputSink();

}  // namespace tavrel
