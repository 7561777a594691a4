#include "runtime/input_sink.h"

namespace tavrel {

namespace {

class SendInputSink final : public InputSink {
public:
    UINT send(std::span<INPUT> events) override {
        if (events.empty()) return 0;
        return SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    }
};

}  // namespace

std::shared_ptr<InputSink> systemInputSink() { return std::make_shared<SendInputSink>(); }

}  // namespace tavrel
