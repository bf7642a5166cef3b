#pragma once

#include <QPointer>

namespace widgets {

// Unloads a window: its unload handler, then it goes. Any event loop that
// runs later may destroy it, a pause inside a handler still on the stack
// among them: a handler that unloads its own window touches nothing of it after.
template <typename Window> void unloadWindow(QPointer<Window> &slot, void (Window::*handler)()) {
    Window *window = slot;
    if (!window)
        return;
    (window->*handler)();
    slot = nullptr;
    window->hide();
    window->deleteLater();
}

} // namespace widgets
