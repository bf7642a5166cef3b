#pragma once

#include "irc/backoff.h"
#include "irc/ircsession.h"
#include "irc/networkconfig.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSslConfiguration;
class QSslSocket;

namespace irc {

// One network's connection: the transport under an IrcSession. It opens the
// socket (TLS with the certificate checked, or plain when asked), hands the
// session every line the server sends and sends what the session gives, when
// its pacing allows; checks with a PING of its own that the server still
// answers, and connects again with a growing delay whenever the connection
// ends. All of it on the event loop: nothing here waits for the network.
class IrcConnection : public QObject {
    Q_OBJECT
public:
    // Times the tests shorten.
    struct Timing {
        qint64 quietMs = 90'000;    // silence before we ask with a PING
        qint64 answerMs = 60'000;   // time the server has to answer anything
        qint64 registerMs = 60'000; // from connecting to being registered
        qint64 backoffScale = 1;    // the backoff's delays are divided by this
    };
    using Kind = IrcSession::Kind;

    // `secret` is the password (server or SASL), read by the caller.
    IrcConnection(NetworkConfig config, QByteArray secret = {}, QObject *parent = nullptr);
    ~IrcConnection() override;

    void setTiming(const Timing &timing) { m_timing = timing; }
    // The random source of the backoff's spread, [0, 1).
    void setRandom(std::function<double()> random);

    const NetworkConfig &config() const { return m_session.config(); }
    void start();
    // Says goodbye (QUIT) and stays away.
    void stop(const QString &quitMessage);

    bool isRegistered() const { return m_session.isRegistered(); }
    QString nick() const { return m_session.nick(); }
    QStringList people(const QString &channel) const { return m_session.people(channel); }
    int sendText(const QString &channel, const QByteArray &text, Kind kind = Kind::Message) {
        return m_session.sendText(channel, text, kind);
    }
    void setAway(const QString &text, const QDateTime &since = {}) {
        m_session.setAway(text, since);
    }
    const ServerSupport &serverSupport() const { return m_session.serverSupport(); }
    void holdAwayReply(const QString &nick, const QDateTime &at) {
        m_session.holdAwayReply(nick, at);
    }

signals:
    // The session's events, and the connection's own state in status lines.
    void status(const QString &channel, const QString &text);
    void message(const QString &channel, const QString &nick, const QString &text,
                 irc::IrcSession::Kind kind);
    void peopleChanged(const QString &channel, const QStringList &people);
    void nickChanged(const QString &from, const QString &to);
    void registered();
    void joined(const QString &channel);
    void awayReplySent(const QString &nick);
    void disconnected();
    // The next try comes in that many milliseconds.
    void reconnectScheduled(qint64 delayMs);

private:
    void connectToServer();
    void discardSocket();
    void watchSocket();
    // Opens the socket just made (not read back through the guarded pointer).
    void openSocket(QSslSocket *socket);
    QSslConfiguration tlsConfiguration() const;
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onQuiet();
    void onRegistered();
    void dropConnection(const QString &why);
    void noteError(const QString &why);
    // Sends what the session lets go now, and wakes up when more may go.
    void flush();
    qint64 now() const { return m_clock.elapsed(); }

    QElapsedTimer m_clock;
    IrcSession m_session;
    Timing m_timing;
    QPointer<QSslSocket> m_socket;
    QByteArray m_buffer;
    Backoff m_backoff;
    QTimer m_paceTimer;
    QTimer m_quietTimer;
    QTimer m_reconnectTimer;
    bool m_stopping = false;
    bool m_awaitingAnswer = false;
    qint64 m_registeredAt = 0;
    QString m_lastError;
};

} // namespace irc
