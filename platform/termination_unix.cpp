#include "platform/termination.h"

#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
// The signal handler's end of the pair, and the event loop's. A request made
// before anyone watches waits in the pair.
int g_signalEnd = -1;
int g_loopEnd = -1;

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pair already holds a wake-up; the byte may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(g_signalEnd, &byte, 1);
    errno = saved;
}

void makeNonBlocking(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK); }
} // namespace

void holdTermination() {
    if (g_loopEnd >= 0)
        return;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    g_signalEnd = ends[0];
    g_loopEnd = ends[1];
    makeNonBlocking(g_signalEnd);
    makeNonBlocking(g_loopEnd);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

void watchTermination(QObject *context, std::function<void()> onRequest) {
    holdTermination();
    if (g_loopEnd < 0)
        return;
    auto *notifier = new QSocketNotifier(g_loopEnd, QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [onRequest = std::move(onRequest)] {
                         char drained[64];
                         while (::read(g_loopEnd, drained, sizeof drained) > 0) {
                         }
                         onRequest();
                     });
}

} // namespace platform
