#include "ircconnection.h"

#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslSocket>

namespace irc {

namespace {

// A line from the server longer than this is no IRC: the connection is dropped.
constexpr qsizetype kMaxInputLine = 16 * 1024;

QString seconds(qint64 ms) { return QString::number((ms + 500) / 1000); }

} // namespace

IrcConnection::IrcConnection(NetworkConfig config, QByteArray secret, QObject *parent)
    : QObject(parent), m_session(std::move(config), std::move(secret), [this] { return now(); }),
      m_backoff([] { return QRandomGenerator::global()->generateDouble(); }) {
    m_clock.start();
    m_paceTimer.setSingleShot(true);
    m_quietTimer.setSingleShot(true);
    m_reconnectTimer.setSingleShot(true);
    connect(&m_paceTimer, &QTimer::timeout, this, &IrcConnection::flush);
    connect(&m_quietTimer, &QTimer::timeout, this, &IrcConnection::onQuiet);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &IrcConnection::connectToServer);
    // The session's lines go out as soon as it has them (the pacing permitting).
    connect(&m_session, &IrcSession::linesReady, this, &IrcConnection::flush);
    connect(&m_session, &IrcSession::status, this, &IrcConnection::status);
    connect(&m_session, &IrcSession::message, this, &IrcConnection::message);
    connect(&m_session, &IrcSession::peopleChanged, this, &IrcConnection::peopleChanged);
    connect(&m_session, &IrcSession::nickChanged, this, &IrcConnection::nickChanged);
    connect(&m_session, &IrcSession::joined, this, &IrcConnection::joined);
    connect(&m_session, &IrcSession::awayReplySent, this, &IrcConnection::awayReplySent);
    connect(&m_session, &IrcSession::registered, this, &IrcConnection::onRegistered);
    connect(&m_session, &IrcSession::serverError, this, &IrcConnection::noteError);
}

IrcConnection::~IrcConnection() {
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void IrcConnection::setRandom(std::function<double()> random) {
    m_backoff = Backoff(std::move(random));
}

void IrcConnection::start() {
    m_stopping = false;
    if (!config().tls)
        emit status({}, tr("%1:%2 is a plain connection: what is said there can be read on the "
                           "way (asked for with --insecure or tls=false)")
                            .arg(config().host)
                            .arg(config().port));
    connectToServer();
}

void IrcConnection::stop(const QString &quitMessage) {
    m_stopping = true;
    m_reconnectTimer.stop();
    m_quietTimer.stop();
    m_paceTimer.stop();
    if (!m_socket)
        return;
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_session.quit(quitMessage);
        m_socket->flush();
        // A failed write is reported at once, and what hears it may let the
        // socket go.
        if (QSslSocket *socket = m_socket)
            socket->disconnectFromHost();
    } else {
        m_socket->abort();
    }
}

void IrcConnection::connectToServer() {
    if (m_stopping)
        return;
    discardSocket();
    m_buffer.clear();
    m_awaitingAnswer = false;
    m_lastError.clear();
    auto *socket = new QSslSocket(this);
    m_socket = socket;
    watchSocket();
    emit status({}, tr("connecting to %1 port %2%3...")
                        .arg(config().host)
                        .arg(config().port)
                        .arg(config().tls ? tr(" (TLS)") : QString()));
    m_quietTimer.start(int(m_timing.registerMs));
    openSocket(socket);
}

void IrcConnection::discardSocket() {
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
    // What held for that connection (its server's 005, its joins) ends with it.
    m_session.connectionClosed();
}

void IrcConnection::watchSocket() {
    connect(m_socket, &QSslSocket::readyRead, this, &IrcConnection::onReadyRead);
    connect(m_socket, &QSslSocket::disconnected, this, &IrcConnection::onDisconnected);
    connect(m_socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        noteError(m_socket->errorString());
        // A refused or failed connection never was connected: it ends here.
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            onDisconnected();
    });
    connect(m_socket, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList texts;
        for (const QSslError &error : errors)
            texts << error.errorString();
        m_lastError =
            tr("the server's certificate is not trusted: %1").arg(texts.join(QStringLiteral("; ")));
    });
}

void IrcConnection::openSocket(QSslSocket *socket) {
    if (config().tls) {
        socket->setSslConfiguration(tlsConfiguration());
        connect(socket, &QSslSocket::encrypted, this, &IrcConnection::onConnected);
        socket->connectToHostEncrypted(config().host, config().port);
    } else {
        connect(socket, &QSslSocket::connected, this, &IrcConnection::onConnected);
        socket->connectToHost(config().host, config().port);
    }
}

QSslConfiguration IrcConnection::tlsConfiguration() const {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!config().caFile.isEmpty()) {
        QList<QSslCertificate> cas = tls.caCertificates();
        cas += QSslCertificate::fromPath(config().caFile);
        tls.setCaCertificates(cas);
    }
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return tls;
}

void IrcConnection::onConnected() { m_session.connectionOpened(); }

void IrcConnection::onRegistered() {
    m_registeredAt = now();
    m_quietTimer.start(int(m_timing.quietMs));
    emit registered();
}

void IrcConnection::noteError(const QString &why) {
    if (m_lastError.isEmpty())
        m_lastError = why;
}

void IrcConnection::onReadyRead() {
    m_buffer += m_socket->readAll();
    qsizetype used = 0;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', used);
        if (end < 0)
            break;
        QByteArray line = m_buffer.mid(used, end - used);
        used = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        // Anything heard shows the server is alive.
        m_awaitingAnswer = false;
        if (m_session.isRegistered())
            m_quietTimer.start(int(m_timing.quietMs));
        m_session.receive(line);
        if (!m_socket)
            return;
    }
    m_buffer.remove(0, used);
    if (m_buffer.size() > kMaxInputLine)
        dropConnection(tr("the server sent a line longer than %1 bytes").arg(kMaxInputLine));
}

void IrcConnection::onQuiet() {
    if (!m_socket)
        return;
    if (!m_session.isRegistered()) {
        dropConnection(tr("no welcome from the server in %1 s").arg(seconds(m_timing.registerMs)));
        return;
    }
    if (m_awaitingAnswer) {
        dropConnection(
            tr("the server stopped answering (nothing in %1 s)").arg(seconds(m_timing.answerMs)));
        return;
    }
    m_awaitingAnswer = true;
    m_session.ping("zorvel-" + QByteArray::number(now()));
    m_quietTimer.start(int(m_timing.answerMs));
}

void IrcConnection::dropConnection(const QString &why) {
    m_lastError = why;
    if (m_socket)
        m_socket->abort(); // emits disconnected when it was connected
    onDisconnected();
}

void IrcConnection::onDisconnected() {
    if (!m_socket)
        return;
    QSslSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    m_quietTimer.stop();
    m_paceTimer.stop();
    const bool wasRegistered = m_session.isRegistered();
    m_session.connectionClosed();
    if (wasRegistered)
        m_backoff.connectionEnded(now() - m_registeredAt);
    const QString why = m_lastError.isEmpty() ? tr("the connection ended") : m_lastError;
    m_lastError.clear();
    emit disconnected();
    if (m_stopping) {
        emit status({}, tr("disconnected from %1").arg(config().host));
        return;
    }
    const qint64 delay = m_backoff.nextDelayMs() / std::max<qint64>(1, m_timing.backoffScale);
    emit status({}, tr("disconnected from %1 (%2); connecting again in %3 s")
                        .arg(config().host, why, seconds(delay * m_timing.backoffScale)));
    emit reconnectScheduled(delay);
    m_reconnectTimer.start(int(delay));
}

void IrcConnection::flush() {
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    for (const QByteArray &line : m_session.takeLines()) {
        // A failed write is reported at once, and what hears it lets the socket go.
        QSslSocket *socket = m_socket;
        if (!socket)
            return;
        if (!line.isEmpty())
            socket->write(line + "\r\n");
    }
    const qint64 wait = m_session.msUntilNext();
    if (wait >= 0)
        m_paceTimer.start(int(std::max<qint64>(wait, 1)));
}

} // namespace irc
