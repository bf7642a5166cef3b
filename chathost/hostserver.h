#pragma once

#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace chathost {

class RequestHandler;

// The local socket through which clients drive chathost: one per user, owner
// only, serving only the user's own processes.
class HostServer : public QObject {
    Q_OBJECT
public:
    explicit HostServer(RequestHandler &handler, QObject *parent = nullptr);
    ~HostServer() override;

    // Takes the user's chathost lock and listens on the socket in the runtime
    // folder. False, with a message for the user, when another chathost runs
    // or the socket cannot be made. A dead chathost's leftovers do not count.
    bool start(QString *message);
    QString socketPath() const;

private:
    void accept();
    void serve(QLocalSocket *socket);
    void drop(QLocalSocket *socket);

    RequestHandler &m_handler;
    QString m_runtimeDir;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QHash<QLocalSocket *, QByteArray> m_pending;
};

} // namespace chathost
