#include "chathost/hostservice.h"

#include "chathost/hostserver.h"
#include "chathost/requesthandler.h"
#include "platform/windowsystem_unix.h"

#include <csignal>

namespace chathost {

namespace {

class SocketService final : public HostService {
public:
    explicit SocketService(WindowTree &tree) : m_handler(tree), m_server(m_handler) {}

    bool start(QString *message) override {
        // A client, or a reader of --echo, that goes away must not take chathost with it.
        std::signal(SIGPIPE, SIG_IGN);
        return m_server.start(message);
    }
    QString where() const override { return m_server.socketPath(); }
    void setAwayHandler(std::function<bool(const QString &)> handler) override {
        m_handler.setAwayHandler(std::move(handler));
    }

private:
    RequestHandler m_handler;
    HostServer m_server;
};

} // namespace

std::unique_ptr<HostService> createHostService(WindowTree &tree) {
    return std::make_unique<SocketService>(tree);
}

bool pingHost(QString *message) {
    const QString path = chatwire::socketPath();
    platform::UnixWindowSystem host(path, std::chrono::seconds(1));
    const std::int64_t pid = host.hostPid();
    *message = pid == 0 ? QStringLiteral("chathost: none answers on %1\n").arg(path)
                        : QStringLiteral("chathost: running (pid %1) on %2\n").arg(pid).arg(path);
    return pid != 0;
}

} // namespace chathost
