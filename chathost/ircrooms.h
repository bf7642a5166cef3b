#pragma once

#include "chathost/conversations.h"
#include "chatwire/chatwire.h"
#include "irc/ircconnection.h"
#include "irc/networkconfig.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace chathost {

class ChatRoom;
class HostWindow;
struct HostOptions;

// One network to join, the password read for it, and the announce mode of
// each of its channels.
struct NetworkSetup {
    irc::NetworkConfig config;
    QByteArray secret;
    QHash<QString, chatwire::AnnounceMode> announce;
};

// The networks the command line asks for: --irc URLs and --network groups of
// the settings file, with --nick, --insecure, --password-file, --sasl-user and
// --ca-file applied, and each channel's announce mode: --announce, else the
// channel's key in the settings file, else the network's, else changes. Nothing, with the reason,
// when one cannot be used (a plain connection not allowed, a password file others can read, ...).
std::optional<QList<NetworkSetup>> networksFromOptions(const HostOptions &options, QString *error);

// The names of the rooms for the networks' channels, in order: the channel's
// name, with the network's added where two networks share a channel name.
QStringList channelRoomNames(const QList<NetworkSetup> &networks);
// The announce mode of each channel's room, by the room's name.
QHash<QString, chatwire::AnnounceMode> channelRoomAnnounce(const QList<NetworkSetup> &networks);

// The rooms that are IRC channels: what is posted in one goes to its channel
// as IRC formatting; what the channel says, who is in it and how the
// connection fares show in the room. A private message opens a conversation
// room (`openRoom` makes it), whose lines go to that person only.
class IrcRooms : public QObject {
    Q_OBJECT
public:
    IrcRooms(const QList<NetworkSetup> &networks, const QList<ChatRoom *> &rooms,
             Conversations::OpenRoom openRoom, QObject *parent = nullptr);
    ~IrcRooms() override;

    void start();
    void stop();
    // A line posted in a room: sent when the room is a channel's. The rooms
    // given at the start are heard without being told.
    void posted(const QString &room, const QString &line);
    // Marks us away on every connected network (empty text: back), away
    // since `since` (UTC; unset: now). True when at least one connected
    // network took it.
    bool setAway(const QString &text, const QDateTime &since = {});
    // Shows one status line in each channel's room: `text` of its network's
    // connection and channel.
    void showInChannels(
        const std::function<QString(const irc::IrcConnection *, const QString &channel)> &text);

    QList<irc::IrcConnection *> connections() const;

signals:
    // Someone else said something in a room, as HTML (for --echo).
    void heard(const QString &room, const QString &speaker, const QString &html);
    // A status line shown in a room.
    void statusShown(const QString &room, const QString &text);

private:
    struct Channel {
        irc::IrcConnection *connection;
        QString channel;
        QPointer<ChatRoom> room; // the user may close it: then it is gone
        chatwire::AnnounceMode announce;
    };
    void showAnnounce(irc::IrcConnection *connection, const QString &channel);
    void connectSignals(irc::IrcConnection *connection);
    QList<ChatRoom *> roomsOf(irc::IrcConnection *connection, const QString &channel) const;
    void showStatus(ChatRoom *room, const QString &text);
    // What was said to us alone: in the conversation with the sender (a
    // notice only when one is open, else in the network's rooms as before).
    QList<ChatRoom *> privateRooms(irc::IrcConnection *connection, const QString &nick,
                                   irc::IrcConnection::Kind kind);
    void ownNickKnown(irc::IrcConnection *connection);
    // A line the user typed, to a channel or a person.
    void sendTyped(irc::IrcConnection *connection, const QString &target, ChatRoom *room,
                   const QString &line);

    Conversations m_conversations;
    std::vector<std::unique_ptr<irc::IrcConnection>> m_connections;
    QList<Channel> m_channels;
};

} // namespace chathost
