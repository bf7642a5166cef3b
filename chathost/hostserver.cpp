#include "hostserver.h"

#include "chathost/requesthandler.h"
#include "chathost/requestparser.h"
#include "chatwire/chatwire.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace chathost {

namespace wire = chatwire;

namespace {

// Connections beyond this are turned away rather than let them use up files.
constexpr int kMaxConnections = 64;

bool peerIsOwnUser(QLocalSocket *socket) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return ::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials,
                        &length) == 0 &&
           credentials.uid == ::geteuid();
}

} // namespace

HostServer::HostServer(RequestHandler &handler, QObject *parent)
    : QObject(parent), m_handler(handler) {}

HostServer::~HostServer() {
    if (m_server)
        m_server->close();
}

QString HostServer::socketPath() const { return m_runtimeDir + QStringLiteral("/chathost.sock"); }

bool HostServer::start(QString *message) {
    m_runtimeDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const QString path = socketPath();
    if (path != wire::socketPath()) {
        *message = QStringLiteral("chathost: no runtime folder for the socket");
        return false;
    }
    m_lock = std::make_unique<QLockFile>(m_runtimeDir + QStringLiteral("/chathost.lock"));
    // Only a dead owner makes the lock stale, however long chathost has run.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        qint64 pid = 0;
        QString host, app;
        if (m_lock->error() == QLockFile::LockFailedError && m_lock->getLockInfo(&pid, &host, &app))
            *message = QStringLiteral("chathost: another chathost is already running for this "
                                      "user (pid %1), serving %2")
                           .arg(pid)
                           .arg(path);
        else
            *message =
                QStringLiteral("chathost: cannot take the lock %1/chathost.lock").arg(m_runtimeDir);
        return false;
    }

    // Holding the lock, any socket file left here is a dead chathost's.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setMaxPendingConnections(kMaxConnections);
    // The socket is made owner-only from the start, not chmod-ed after the fact.
    const mode_t oldMask = ::umask(0177);
    const bool listening = m_server->listen(path);
    ::umask(oldMask);
    if (!listening || ::chmod(QFile::encodeName(path).constData(), 0600) != 0) {
        *message =
            QStringLiteral("chathost: cannot listen on %1: %2").arg(path, m_server->errorString());
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &HostServer::accept);
    return true;
}

void HostServer::accept() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (m_pending.size() >= kMaxConnections || !peerIsOwnUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
    }
}

void HostServer::drop(QLocalSocket *socket) {
    if (!m_pending.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void HostServer::serve(QLocalSocket *socket) {
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    QByteArray &buffer = *it;
    buffer += socket->readAll();
    qsizetype used = 0;
    for (;;) {
        const FrameSplit split = splitFrame(QByteArrayView(buffer).sliced(used));
        if (split.status == FrameSplit::Incomplete)
            break;
        const auto reply = split.status == FrameSplit::Complete
                               ? m_handler.handle(split.payload.toByteArray())
                               : std::nullopt;
        if (!reply) {
            drop(socket);
            return;
        }
        used += split.used;
        socket->write(wire::frame(*reply));
    }
    buffer.remove(0, used);
}

} // namespace chathost
