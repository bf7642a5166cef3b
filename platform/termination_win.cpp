#include "platform/termination.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <mutex>
#include <windows.h>

namespace platform {

namespace {
std::mutex g_mutex;
QObject *g_context = nullptr;
std::function<void()> g_onRequest;
bool g_held = false;
bool g_pending = false; // a request came before anyone watched

void post() {
    QMetaObject::invokeMethod(
        g_context, [] { g_onRequest(); }, Qt::QueuedConnection);
}

// The session's end. The system ends the process soon after WM_ENDSESSION,
// so the request runs at once, inside the first of the two messages, and
// only once: by the time the session ends, the closing lines are posted.
class SessionEndFilter final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override {
        const auto *msg = static_cast<const MSG *>(message);
        const bool ending =
            msg->message == WM_QUERYENDSESSION || (msg->message == WM_ENDSESSION && msg->wParam);
        if (!ending)
            return false;
        if (!m_handled) {
            m_handled = true;
            g_onRequest();
        }
        *result = msg->message == WM_QUERYENDSESSION ? TRUE : 0;
        return true;
    }

private:
    bool m_handled = false;
};

// Runs on a thread of its own: hand the request to the event loop.
BOOL WINAPI onControl(DWORD type) {
    {
        const std::lock_guard<std::mutex> lock(g_mutex);
        if (g_context)
            post();
        else
            g_pending = true;
    }
    // After a close the process ends as soon as this returns: give the
    // unload the few seconds the system allows.
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT)
        ::Sleep(4500);
    return TRUE;
}
} // namespace

void holdTermination() {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (g_held)
        return;
    g_held = true;
    // A desktop program has no console of its own: one started from a console
    // joins it, so that Ctrl+C or Ctrl+Break there, or the console's closing,
    // ends it through the unload like any other request to end.
    ::AttachConsole(ATTACH_PARENT_PROCESS);
    ::SetConsoleCtrlHandler(onControl, TRUE);
}

void watchTermination(QObject *context, std::function<void()> onRequest) {
    holdTermination();
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_context = context;
    g_onRequest = std::move(onRequest);
    if (g_pending)
        post();
    g_pending = false;
    static SessionEndFilter sessionEnd;
    QCoreApplication::instance()->installNativeEventFilter(&sessionEnd);
}

} // namespace platform
