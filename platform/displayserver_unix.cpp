#include "platform/displayserver.h"

#include <QByteArray>

#include <xcb/xcb.h>

namespace platform {

namespace {

// True when the X server that DISPLAY names takes a connection; a stale
// DISPLAY, a refused authorisation or none at all is false.
bool xServerAnswers() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace

void chooseDisplayServer() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    // The windows stand where they put themselves and stay above all others,
    // and a Wayland client can do neither: on a Wayland desktop they go
    // through its X server (Xwayland). Only where no X server answers does Qt
    // pick the platform, Wayland among them, as it always does.
    if (xServerAnswers())
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}

} // namespace platform
