#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace irc {
class IrcConnection;
}

namespace chathost {

class ChatRoom;

// The conversations with one person each: a private message opens a room
// named by the sender's nick (with the network's name where chathost has
// several), or finds the one already open; the room follows the person's
// nick changes. Closing the room ends the conversation; the next message
// opens a new one.
class Conversations : public QObject {
    Q_OBJECT
public:
    // Makes a conversation room of that name.
    using OpenRoom = std::function<ChatRoom *(const QString &name)>;

    // `networkNames`: whether room names carry the network's.
    Conversations(OpenRoom openRoom, bool networkNames, QObject *parent = nullptr);

    // The room of the conversation with `nick` on the connection, opened when
    // there is none.
    ChatRoom *open(irc::IrcConnection *connection, const QString &nick);
    // That room, or nullptr when none is open.
    ChatRoom *find(irc::IrcConnection *connection, const QString &nick) const;
    QList<ChatRoom *> roomsOf(irc::IrcConnection *connection) const;
    // Our nick on the connection is known anew (registered, or changed): the
    // rooms post under it.
    void ownNickKnown(irc::IrcConnection *connection);
    // Someone else on the connection is now known as `to`: their
    // conversation follows.
    void nickChanged(irc::IrcConnection *connection, const QString &from, const QString &to);

signals:
    // A status line for a conversation's room.
    void status(ChatRoom *room, const QString &text);
    // A conversation was opened.
    void opened(irc::IrcConnection *connection, ChatRoom *room, const QString &nick);
    // The user typed a line in a conversation: for `nick` only.
    void typed(irc::IrcConnection *connection, ChatRoom *room, const QString &nick,
               const QString &line);

private:
    struct Entry {
        irc::IrcConnection *connection;
        QString nick;
        QPointer<ChatRoom> room;
    };
    void forgetClosed();
    Entry *entry(irc::IrcConnection *connection, const QString &nick);
    QString roomName(irc::IrcConnection *connection, const QString &nick) const;
    static void showPeople(const Entry &entry);

    OpenRoom m_openRoom;
    bool m_networkNames;
    QList<Entry> m_entries;
};

} // namespace chathost
