#include "targeting/click_point.h"

#include "app/messages.h"
#include "sys/error.h"

namespace tavrel {

POINT clickPoint(const Action& action, bool, const std::function<void()>&) {
    const POINT point{action.x, action.y};
    if (action.client) {
        // Positions inside a target window need the window search, which this build lacks.
        throw Error(L"Clicks inside a target window are not available in this build.");
    }
    if (!MonitorFromPoint(point, MONITOR_DEFAULTTONULL))
        throw Error(lookupCopy(L"Click position is outside the connected monitors. Pick it again."));
    return point;
}

}  // namespace tavrel
