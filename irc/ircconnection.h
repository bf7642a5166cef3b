#pragma once

#include "irc/backoff.h"
#include "irc/networkconfig.h"
#include "irc/sendqueue.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

class QSslConfiguration;
class QSslSocket;

namespace irc {

struct IrcMessage;

// One network's connection: registers (CAP LS 302, SASL PLAIN or PASS, NICK,
// USER), joins the channels, keeps the people in them, relays what is said
// there, sends what is posted (split and paced), answers PING, checks with a
// PING of its own that the server still answers, and connects again with a
// growing delay whenever the connection ends. All of it on the event loop:
// nothing here waits for the network.
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
    enum class Kind { Message, Action, Notice };
    Q_ENUM(Kind)

    // `secret` is the password (server or SASL), read by the caller.
    IrcConnection(NetworkConfig config, QByteArray secret = {}, QObject *parent = nullptr);
    ~IrcConnection() override;

    void setTiming(const Timing &timing) { m_timing = timing; }
    // The random source of the backoff's spread, [0, 1).
    void setRandom(std::function<double()> random);

    const NetworkConfig &config() const { return m_config; }
    void start();
    // Says goodbye (QUIT) and stays away.
    void stop(const QString &quitMessage);

    bool isRegistered() const { return m_registered; }
    QString nick() const { return m_nick; }
    QStringList people(const QString &channel) const;

    // Sends formatted text (UTF-8 with IRC codes) to a channel: split to fit,
    // paced, as a /me action when asked. Returns the pieces it became.
    int sendText(const QString &channel, const QByteArray &text, Kind kind = Kind::Message);
    // Marks us away with the text, or back when it is empty; kept for the
    // connections to come.
    void setAway(const QString &text);

signals:
    // A status line for a channel's room (an empty channel: every room).
    void status(const QString &channel, const QString &text);
    // Someone said something in a channel (or to us: the channel is empty).
    void message(const QString &channel, const QString &nick, const QString &text,
                 irc::IrcConnection::Kind kind);
    void peopleChanged(const QString &channel, const QStringList &people);
    void registered();
    void joined(const QString &channel);
    void disconnected();
    // The next try comes in that many milliseconds.
    void reconnectScheduled(qint64 delayMs);

private:
    void connectToServer();
    void discardSocket();
    void resetConnectionState();
    void watchSocket();
    // Opens the socket just made (not read back through the guarded pointer).
    void openSocket(QSslSocket *socket);
    QSslConfiguration tlsConfiguration() const;
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onQuiet();
    void dropConnection(const QString &why);

    // One line from the server: handed to the member for its command.
    void handle(const IrcMessage &message);
    bool isFromUs(const IrcMessage &message) const;
    QString lastParam(const IrcMessage &message) const;
    void handlePing(const IrcMessage &message);
    // Registration: capabilities, SASL, the welcome, the nick and password.
    void handleCap(const IrcMessage &message);
    void handleAuthenticate(const IrcMessage &message);
    void handleSaslLoggedIn(const IrcMessage &message);
    void handleSaslFailed(const IrcMessage &message);
    void handleRegistered(const IrcMessage &message);
    void handleServerSupport(const IrcMessage &message);
    void handleNickRefused(const IrcMessage &message);
    void handlePasswordRefused(const IrcMessage &message);
    void handleError(const IrcMessage &message);
    // The people in our channels.
    void handleJoin(const IrcMessage &message);
    void handlePart(const IrcMessage &message);
    void handleKick(const IrcMessage &message);
    void handleQuit(const IrcMessage &message);
    void handleNick(const IrcMessage &message);
    bool renamePerson(const QString &channel, const QString &from, const QString &to);
    void handleNames(const IrcMessage &message);
    void handleNamesEnd(const IrcMessage &message);
    // What is said, and the replies about us.
    void handlePrivmsg(const IrcMessage &incoming);
    void handleCtcp(const IrcMessage &incoming);
    void handleNotice(const IrcMessage &incoming);
    void handleAwayReply(const IrcMessage &message);
    void handleChannelError(const IrcMessage &message);
    void endCap();
    void writeNow(const QByteArray &line);
    // A control line: out at once, never behind the chat.
    void sendControl(const QByteArray &line);
    QByteArray awayLine() const;
    void flush();
    void reportDropped();
    QString channelName(const QByteArray &wire) const;
    void setPeople(const QString &channel, const QStringList &people);
    void removePerson(const QString &channel, const QString &nick);
    QString decode(const QByteArray &bytes) const;
    // A people list's entry without its status prefixes.
    QString bareNick(const QString &entry) const;
    qsizetype prefixBytes() const;
    qint64 now() const { return m_clock.elapsed(); }

    NetworkConfig m_config;
    QByteArray m_secret;
    Timing m_timing;
    QPointer<QSslSocket> m_socket;
    QByteArray m_buffer;
    QElapsedTimer m_clock;
    SendQueue m_queue;
    Backoff m_backoff;
    QTimer m_paceTimer;
    QTimer m_quietTimer;
    QTimer m_reconnectTimer;
    bool m_stopping = false;
    bool m_registered = false;
    bool m_awaitingAnswer = false;
    bool m_capEnded = false;
    QByteArray m_capList;
    qint64 m_registeredAt = 0;
    QString m_nick;
    int m_nickTries = 0;
    static constexpr int kDefaultNickLength = 9;
    static constexpr const char *kDefaultPrefixes = "~&@%+";
    int m_nickLength = kDefaultNickLength;
    QString m_prefixes = QString::fromLatin1(kDefaultPrefixes);
    QByteArray m_userHost; // our own user@host as the server shows it
    QString m_away;
    QSet<QString> m_pendingJoins;
    QHash<QString, QStringList> m_people;
    QHash<QString, QStringList> m_namesComing;
    QString m_lastError;
};

} // namespace irc
