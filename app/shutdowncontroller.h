#pragma once

#include "hostlink/goodbye.h"

namespace control {
class SessionController;
}

#include <QObject>
#include <functional>

namespace app {

class ClosableWindows;

// The program's end, and the one way to it: the unload command of the
// session menu and every request from outside (a termination signal, the
// desktop session's end, the application quitting by any other road) run the
// same unload, once. It stops both timers, slides the menus away, closes the
// main strip (its closing lines and slides), unloads the style shop, then
// leaves the event loop.
class ShutdownController final : public QObject {
    Q_OBJECT
public:
    ShutdownController(control::SessionController &session, ClosableWindows &windows);

    // The unload command. Only the first request does anything.
    void unload();
    // A request from outside the windows: the session menu loads first, as
    // it does when its own unload entry is clicked.
    void unloadFromOutside();
    // From now on, requests from outside unload the program. A termination
    // signal that came before waits until then (platform::holdTermination).
    void watchOutsideEnd();

    bool isEnding() const { return m_ending; }

    // The unload's last step, with every window unloaded. It leaves the event
    // loop with status 0; tests put their own in its place.
    void setEndProgram(std::function<void()> end);

private:
    // True for the first caller only; the closing announcement then becomes
    // the program's last word (hostlink::Goodbye).
    bool startEnding();

    control::SessionController &m_session;
    ClosableWindows &m_windows;
    bool m_ending = false;
    hostlink::Goodbye m_goodbye;
    std::function<void()> m_end;
};

} // namespace app
