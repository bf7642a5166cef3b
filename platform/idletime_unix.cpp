#include "idletime_unix.h"

#include <QByteArray>
#include <QtGlobal>

namespace platform {

namespace {
// On Wayland the X server, if there is one, sees only the input of X
// programs: its idle time would grow while the person types elsewhere.
bool waylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}
} // namespace

std::unique_ptr<IdleMonitor> desktopIdleMonitor() {
    using Open = std::unique_ptr<IdleMonitor> (*)();
    const Open x11[] = {[] { return xSyncIdleMonitor(); },
                        [] { return xScreenSaverIdleMonitor(); }};
    const Open session[] = {[] { return mutterIdleMonitor(); },
                            [] { return freedesktopIdleMonitor(); }};
    if (!waylandSession() && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        for (const Open open : x11) {
            if (auto monitor = open())
                return monitor;
        }
    }
    for (const Open open : session) {
        if (auto monitor = open())
            return monitor;
    }
    return nullptr;
}

} // namespace platform
