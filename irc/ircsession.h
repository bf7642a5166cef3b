#pragma once

#include "irc/channelmodel.h"
#include "irc/networkconfig.h"
#include "irc/sendqueue.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace irc {

struct IrcMessage;

// The IRC protocol of one network's connection, without a socket: lines
// from the server go in (receive), events come out as signals, and the lines
// for the server wait in its send queue (takeLines) until the transport may
// send them. It registers (CAP LS 302, SASL PLAIN or PASS, NICK, USER, a nick
// of its own when the server refuses ours), joins the channels, keeps their
// people and modes, relays what is said there and answers PING and CTCP.
class IrcSession : public QObject {
    Q_OBJECT
public:
    enum class Kind { Message, Action, Notice };
    Q_ENUM(Kind)

    // `secret` is the password (server or SASL); `nowMs` reads the clock of
    // the send queue's pacing and limits.
    IrcSession(NetworkConfig config, QByteArray secret, std::function<qint64()> nowMs,
               QObject *parent = nullptr);

    const NetworkConfig &config() const { return m_config; }
    // The random source of a nick of our own, a whole number in [low, high).
    void setRandom(std::function<int(int, int)> random) { m_random = std::move(random); }

    // A connection is open: registration starts.
    void connectionOpened();
    // One line from the server, without CR LF.
    void receive(const QByteArray &line);
    // The connection ended: what held for it (the server's 005, the people,
    // the joins, the control lines and replies waiting) is forgotten; the
    // chat lines wait for the next one.
    void connectionClosed();
    // Asks the server whether it is still there.
    void ping(const QByteArray &token);
    void quit(const QString &message);

    // The lines that may go now: the control lines, then, once registered
    // and in the channels, the chat lines and replies their pacing allows.
    QList<QByteArray> takeLines();
    // Milliseconds until more may go; -1 when nothing waits for its time.
    qint64 msUntilNext() const;

    bool isRegistered() const { return m_registered; }
    QString nick() const { return m_nick; }
    QStringList people(const QString &channel) const;
    // The model of one of our channels; null for any other name.
    const ChannelModel *channel(const QString &channel) const;
    const ServerSupport &serverSupport() const { return m_support; }

    // Sends formatted text (UTF-8 with IRC codes) to a channel: split to fit,
    // paced, as a /me action when asked, without its formatting where the
    // channel refuses colour. Returns the pieces it became.
    int sendText(const QString &channel, const QByteArray &text, Kind kind = Kind::Message);
    // Marks us away with the text, or back when it is empty; kept for the
    // connections to come. `since` (UTC) is when the away period began, for
    // the replies' "away for"; unset: now, or as before while still away.
    // While away, a private message from a person gets one NOTICE saying so
    // per sender in the network's autoreply minutes, as an automatic reply.
    void setAway(const QString &text, const QDateTime &since = {});
    // An away reply that left `at` (UTC) before this session, for the
    // sender's slot.
    void holdAwayReply(const QString &nick, const QDateTime &at);

signals:
    // New lines wait in takeLines.
    void linesReady();
    // A status line for a channel's room (an empty channel: every room).
    void status(const QString &channel, const QString &text);
    // Someone said something in a channel (or to us: the channel is empty).
    void message(const QString &channel, const QString &nick, const QString &text,
                 irc::IrcSession::Kind kind);
    void peopleChanged(const QString &channel, const QStringList &people);
    // Someone we can see (we too) is now known as `to`.
    void nickChanged(const QString &from, const QString &to);
    void registered();
    void joined(const QString &channel);
    // An away reply to `nick` left.
    void awayReplySent(const QString &nick);
    // Why the server is about to end the connection (ERROR, a refused password).
    void serverError(const QString &why);

private:
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
    // The people and modes of our channels.
    void handleJoin(const IrcMessage &message);
    void handlePart(const IrcMessage &message);
    void handleKick(const IrcMessage &message);
    void handleQuit(const IrcMessage &message);
    void handleNick(const IrcMessage &message);
    void handleNames(const IrcMessage &message);
    void handleNamesEnd(const IrcMessage &message);
    void handleMode(const IrcMessage &message);
    void handleChannelModes(const IrcMessage &message);
    void handleTopic(const IrcMessage &message);
    // What is said, and the replies about us.
    void handlePrivmsg(const IrcMessage &incoming);
    void handleCtcp(const IrcMessage &incoming);
    void replyWhileAway(const IrcMessage &incoming);
    void handleNotice(const IrcMessage &incoming);
    void handleAwayReply(const IrcMessage &message);
    void handleChannelError(const IrcMessage &message);
    void endCap();
    void sendControl(const QByteArray &line);
    // Until the channels are joined and their modes known (or long asked for),
    // chat waits: whether a line keeps its colour depends on them. -1: it
    // waits for a JOIN, 0: it may go.
    qint64 msUntilChatMayGo() const;
    void modesKnown(const QString &channel);
    QByteArray awayLine() const;
    void reportDropped();
    QString channelName(const QByteArray &wire) const;
    // Where a PRIVMSG or NOTICE is for: one of our channels, also with a
    // status prefix before it ("@#chan": its operators); empty when it is
    // private (the target is our nick); nothing for any other target (a
    // server mask, a channel we are not in).
    std::optional<QString> messageTarget(const QByteArray &target) const;
    // A message for none of our rooms: a status line of the network.
    void showUntargeted(const IrcMessage &incoming, const QByteArray &text);
    ChannelModel *model(const QString &channel);
    void publishPeople(const QString &channel);
    // Says so when a channel starts or stops refusing colour.
    void noteColour(const QString &channel, bool refusedBefore);
    QString decode(const QByteArray &bytes) const;
    qsizetype prefixBytes() const;

    NetworkConfig m_config;
    QByteArray m_secret;
    std::function<qint64()> m_nowMs;
    std::function<int(int, int)> m_random;
    SendQueue m_queue;
    bool m_registered = false;
    bool m_capEnded = false;
    QByteArray m_capList;
    QString m_nick;
    int m_nickTries = 0;
    ServerSupport m_support;
    QByteArray m_userHost; // our own user@host as the server shows it
    QString m_away;
    qint64 m_awaySinceMs = 0; // on m_nowMs's clock
    QSet<QString> m_pendingJoins;
    // Channels joined whose modes are not known yet: until when their chat waits.
    QHash<QString, qint64> m_pendingModes;
    QHash<QString, ChannelModel> m_channels; // by the case-folded name
    QHash<QString, QStringList> m_namesComing;
};

} // namespace irc
