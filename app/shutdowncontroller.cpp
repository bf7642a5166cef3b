#include "shutdowncontroller.h"

#include "app/closablewindows.h"
#include "control/sessioncontroller.h"
#include "platform/termination.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>

namespace app {

ShutdownController::ShutdownController(control::SessionController &session,
                                       ClosableWindows &windows)
    : m_session(session), m_windows(windows), m_end([] { QCoreApplication::exit(0); }) {}

bool ShutdownController::startEnding() {
    if (m_ending)
        return false;
    m_ending = true;
    m_goodbye.begin();
    return true;
}

void ShutdownController::unload() {
    // A second request while the program is ending (a click during a slide,
    // another signal) changes nothing.
    if (!startEnding())
        return;
    // Any event loop the unloads below run (the slides pause) may destroy
    // the window whose entry asked for this; nothing here touches it.
    // Idle mode is left as it is: the end is no idle off.
    m_session.stopTimers();
    m_windows.unloadMenus();
    m_windows.closeMainStrip();
    m_session.leaveAway();
    m_windows.unloadStyleShop();
    // The menus were only hidden until now, so the loop's own last-window
    // rule cannot be relied on to end it.
    m_end();
}

void ShutdownController::unloadFromOutside() {
    if (m_ending)
        return;
    m_windows.loadSessionMenu();
    unload();
}

void ShutdownController::watchOutsideEnd() {
    const auto unload = [this] { unloadFromOutside(); };
    platform::watchTermination(this, unload);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this,
            [unload](QSessionManager &) { unload(); });
    // A quit that came some other way (the session manager's own) finds the
    // loop already left; the unload still runs, once.
    connect(qGuiApp, &QCoreApplication::aboutToQuit, this, unload);
}

void ShutdownController::setEndProgram(std::function<void()> end) { m_end = std::move(end); }

} // namespace app
