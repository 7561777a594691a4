#include "runtime/status_text.h"

#include "app/messages.h"

namespace tavrel {

std::wstring statusLine(const std::wstring& status, std::size_t queued) {
    std::wstring text = lookup(status.c_str());
    if (queued > 0) text += L" \u00B7 " + lookupCopy(L"Queued") + L": " + std::to_wstring(queued);
    return text;
}

std::wstring runningStatus(const std::wstring& bindingName, std::size_t step, std::size_t steps) {
    return lookupCopy(L"Running") + L": " + bindingName + L", " + lookupCopy(L"step") + L" " +
           std::to_wstring(step) + L"/" + std::to_wstring(steps);
}

}  // namespace tavrel
