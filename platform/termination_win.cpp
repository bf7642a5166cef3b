#include "termination.h"

#include <QMetaObject>
#include <QObject>

#include <windows.h>

namespace platform {

namespace {
QObject *g_context = nullptr;
std::function<void()> g_onRequest;

// Runs on a thread of its own: hand the request to the event loop.
BOOL WINAPI onControl(DWORD type) {
    QMetaObject::invokeMethod(
        g_context, [] { g_onRequest(); }, Qt::QueuedConnection);
    // After a close the process ends as soon as this returns: give the
    // unload the few seconds the system allows.
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
        ::Sleep(4500);
    return TRUE;
}
} // namespace

void watchTermination(QObject *context, std::function<void()> onRequest) {
    g_context = context;
    g_onRequest = std::move(onRequest);
    ::SetConsoleCtrlHandler(onControl, TRUE);
}

} // namespace platform
