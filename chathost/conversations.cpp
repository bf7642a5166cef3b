#include "conversations.h"

#include "chathost/chatroom.h"
#include "irc/ircconnection.h"
#include "irc/ircmessage.h"

namespace chathost {

namespace {

bool sameNick(const QString &one, const QString &other) {
    return irc::foldCase(one.toUtf8()) == irc::foldCase(other.toUtf8());
}

} // namespace

Conversations::Conversations(OpenRoom openRoom, bool networkNames, QObject *parent)
    : QObject(parent), m_openRoom(std::move(openRoom)), m_networkNames(networkNames) {}

void Conversations::forgetClosed() {
    // A room the user closed ends its conversation.
    m_entries.removeIf([](const Entry &entry) { return entry.room.isNull(); });
}

Conversations::Entry *Conversations::entry(irc::IrcConnection *connection, const QString &nick) {
    for (Entry &entry : m_entries) {
        if (entry.connection == connection && sameNick(entry.nick, nick))
            return &entry;
    }
    return nullptr;
}

ChatRoom *Conversations::find(irc::IrcConnection *connection, const QString &nick) const {
    for (const Entry &entry : m_entries) {
        if (entry.room && entry.connection == connection && sameNick(entry.nick, nick))
            return entry.room;
    }
    return nullptr;
}

QList<ChatRoom *> Conversations::roomsOf(irc::IrcConnection *connection) const {
    QList<ChatRoom *> rooms;
    for (const Entry &entry : m_entries) {
        if (entry.room && entry.connection == connection)
            rooms.append(entry.room);
    }
    return rooms;
}

QString Conversations::roomName(irc::IrcConnection *connection, const QString &nick) const {
    return m_networkNames ? QStringLiteral("%1 (%2)").arg(nick, connection->config().name) : nick;
}

void Conversations::showPeople(const Entry &entry) {
    entry.room->setScreenName(entry.connection->nick());
    entry.room->setPeople({entry.connection->nick(), entry.nick});
}

ChatRoom *Conversations::open(irc::IrcConnection *connection, const QString &nick) {
    forgetClosed();
    if (const Entry *known = entry(connection, nick))
        return known->room;
    ChatRoom *room = m_openRoom(roomName(connection, nick));
    m_entries.append({connection, nick, room});
    showPeople(m_entries.last());
    // The person is looked up when the line is typed: a nick change since is followed.
    connect(room, &ChatRoom::posted, this, [this, connection, room](const QString &line) {
        for (const Entry &entry : std::as_const(m_entries)) {
            if (entry.room == room) {
                emit typed(connection, room, entry.nick, line);
                return;
            }
        }
        emit status(room, tr("this conversation has ended: the line was not sent"));
    });
    emit opened(connection, room, nick);
    return room;
}

void Conversations::ownNickKnown(irc::IrcConnection *connection) {
    for (const Entry &entry : std::as_const(m_entries)) {
        if (entry.room && entry.connection == connection)
            showPeople(entry);
    }
}

void Conversations::nickChanged(irc::IrcConnection *connection, const QString &from,
                                const QString &to) {
    forgetClosed();
    // A conversation still open with whoever had the new nick before is over:
    // that person is gone or known by another nick now.
    if (const Entry *stale = entry(connection, to); stale && !sameNick(from, to)) {
        emit status(stale->room,
                    tr("%1 is now someone else's nick: this conversation has ended").arg(to));
        const QPointer<ChatRoom> staleRoom = stale->room;
        m_entries.removeIf([&](const Entry &other) { return other.room == staleRoom; });
    }
    Entry *moving = entry(connection, from);
    if (!moving)
        return;
    moving->nick = to;
    moving->room->rename(roomName(connection, to));
    showPeople(*moving);
    emit status(moving->room, tr("%1 is now known as %2").arg(from, to));
}

} // namespace chathost
