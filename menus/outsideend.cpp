#include "outsideend.h"

#include "forms.h"
#include "termination.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace menus {

void unloadOnOutsideEnd(Forms &forms) {
    const auto unload = [&forms] { forms.unloadProgram(); };
    platform::watchTermination(&forms, unload);
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &forms,
                     [unload](QSessionManager &) { unload(); });
    // A quit that came some other way (the session manager's own) finds the
    // loop already left; the unload still runs, once.
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, &forms, unload);
}

} // namespace menus
