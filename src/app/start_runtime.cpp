#include "app/start_runtime.h"

#include "layouts/layout_access.h"

#include <memory>

namespace tavrel {

void startRuntime(MainWindow& state, bool safe) {
    state.runtime = std::make_unique<Runtime>(state.hwnd, LayoutAccess{});
    state.runtime->setBindings(state.config);
    state.runtime->setPaused(safe);
    state.runtime->start();
}

}  // namespace tavrel
