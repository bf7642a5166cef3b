#include "outsideend.h"

#include "termination.h"
#include "windowregistry.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace menus {

void unloadOnOutsideEnd(WindowRegistry &windows) {
    const auto unload = [&windows] { windows.unloadProgram(); };
    platform::watchTermination(&windows, unload);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &windows,
                     [unload](QSessionManager &) { unload(); });
    // A quit that came some other way (the session manager's own) finds the
    // loop already left; the unload still runs, once.
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, &windows, unload);
}

} // namespace menus
