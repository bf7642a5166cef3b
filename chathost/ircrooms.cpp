#include "ircrooms.h"

#include "chathost/chatroom.h"
#include "chathost/hostfolders.h"
#include "chathost/hostoptions.h"
#include "chathost/networksecret.h"
#include "irc/ircformatter.h"
#include "irc/ircmessage.h"
#include "irc/ircrenderer.h"

namespace chathost {

namespace {

bool applyCommandLine(const HostOptions &options, irc::NetworkConfig &config, QString *error) {
    if (!options.nick.isEmpty())
        config.nick = options.nick;
    else if (config.nick.isEmpty())
        config.nick = options.screenName;
    if (!options.passwordFile.isEmpty())
        config.passwordFile = options.passwordFile;
    if (!options.saslUser.isEmpty())
        config.saslUser = options.saslUser;
    if (!options.caFile.isEmpty())
        config.caFile = options.caFile;
    if (options.autoReplyMinutes)
        config.autoReplyMinutes = *options.autoReplyMinutes;
    return irc::completeNetwork(config, error);
}

// The mode a settings value names, left unset when it is empty; false, with
// the reason, for a value that names none.
bool readAnnounce(const QString &text, const QString &key, const QString &network,
                  std::optional<chatwire::AnnounceMode> &mode, QString *error) {
    if (text.isEmpty())
        return true;
    mode = chatwire::parseAnnounceMode(text.toLower());
    if (!mode)
        *error = QStringLiteral("[%1] %2: \"%3\" is no announce mode: full, changes or quiet")
                     .arg(network, key, text);
    return mode.has_value();
}

bool resolveAnnounce(const HostOptions &options, NetworkSetup &setup, QString *error) {
    const irc::NetworkConfig &config = setup.config;
    std::optional<chatwire::AnnounceMode> network;
    if (!readAnnounce(config.announce, QStringLiteral("announce"), config.name, network, error))
        return false;
    for (const QString &channel : config.channels) {
        std::optional<chatwire::AnnounceMode> own;
        if (!readAnnounce(config.channelAnnounce.value(channel.toLower()),
                          QStringLiteral("announce.") + channel, config.name, own, error))
            return false;
        // The default spares the channel all but the changes: networks call
        // repeated automatic away lines spam, and the server's AWAY already
        // carries the reason.
        setup.announce.insert(channel, options.announce.value_or(own.value_or(
                                           network.value_or(chatwire::AnnounceMode::Changes))));
    }
    return true;
}

QString announceStatus(chatwire::AnnounceMode mode, const QString &channel) {
    QString what;
    switch (mode) {
    case chatwire::AnnounceMode::Full:
        what = IrcRooms::tr("every line zorvel posts goes to %1");
        break;
    case chatwire::AnnounceMode::Changes:
        what = IrcRooms::tr("of zorvel's lines only going idle, the reason once, coming back "
                            "and statistics go to %1");
        break;
    case chatwire::AnnounceMode::Quiet:
        what = IrcRooms::tr("none of zorvel's lines go to %1; your away status on the network "
                            "gives the reason");
        break;
    }
    return IrcRooms::tr("announce mode %1: %2 (to change it: --announce MODE, or "
                        "announce.%3=MODE in networks.ini; MODE is full, changes or quiet)")
        .arg(chatwire::announceModeName(mode), what.arg(channel), channel);
}

} // namespace

std::optional<QList<NetworkSetup>> networksFromOptions(const HostOptions &options, QString *error) {
    QList<irc::NetworkConfig> configs;
    for (const QString &url : options.ircUrls) {
        auto config = irc::parseIrcUrl(url, error);
        if (!config)
            return std::nullopt;
        // A plain connection is asked for by name; in the settings file, tls=false.
        if (!config->tls && !options.insecure) {
            *error = QStringLiteral("%1 is a plain connection, readable on the way: say "
                                    "--insecure to use it anyway, or use ircs://")
                         .arg(url);
            return std::nullopt;
        }
        configs.append(*config);
    }
    for (const QString &name : options.networkNames) {
        auto config = irc::loadNetwork(networksFile(), name, error);
        if (!config)
            return std::nullopt;
        configs.append(*config);
    }
    QList<NetworkSetup> networks;
    for (irc::NetworkConfig &config : configs) {
        if (!applyCommandLine(options, config, error))
            return std::nullopt;
        NetworkSetup setup{config, {}, {}};
        if (!resolveAnnounce(options, setup, error))
            return std::nullopt;
        const auto secret = networkSecret(config, error);
        if (!secret)
            return std::nullopt;
        setup.secret = *secret;
        networks.append(setup);
    }
    return networks;
}

QStringList channelRoomNames(const QList<NetworkSetup> &networks) {
    QStringList names;
    for (const NetworkSetup &network : networks) {
        for (const QString &channel : network.config.channels) {
            QString name = channel;
            if (names.contains(name, Qt::CaseInsensitive))
                name += QStringLiteral(" (%1)").arg(network.config.name);
            names.append(name);
        }
    }
    return names;
}

QHash<QString, chatwire::AnnounceMode> channelRoomAnnounce(const QList<NetworkSetup> &networks) {
    const QStringList names = channelRoomNames(networks);
    QHash<QString, chatwire::AnnounceMode> modes;
    qsizetype next = 0;
    for (const NetworkSetup &network : networks) {
        for (const QString &channel : network.config.channels)
            modes.insert(names.at(next++),
                         network.announce.value(channel, chatwire::AnnounceMode::Changes));
    }
    return modes;
}

IrcRooms::IrcRooms(const QList<NetworkSetup> &networks, const QList<ChatRoom *> &rooms,
                   Conversations::OpenRoom openRoom, QObject *parent)
    : QObject(parent), m_conversations(std::move(openRoom), networks.size() > 1) {
    const QStringList names = channelRoomNames(networks);
    qsizetype next = 0;
    for (const NetworkSetup &network : networks) {
        auto connection = std::make_unique<irc::IrcConnection>(network.config, network.secret);
        for (const QString &channel : network.config.channels) {
            const QString name = names.at(next++);
            for (ChatRoom *room : rooms) {
                if (room->name() == name) {
                    m_channels.append(
                        {connection.get(), channel, room,
                         network.announce.value(channel, chatwire::AnnounceMode::Changes)});
                    room->setPeople({});
                    connect(room, &ChatRoom::posted, this,
                            [this, room](const QString &line) { posted(room->name(), line); });
                }
            }
        }
        connectSignals(connection.get());
        m_connections.push_back(std::move(connection));
    }
    connect(&m_conversations, &Conversations::typed, this,
            [this](irc::IrcConnection *connection, ChatRoom *room, const QString &nick,
                   const QString &line) { sendTyped(connection, nick, room, line); });
    connect(&m_conversations, &Conversations::status, this, &IrcRooms::showStatus);
    // A new conversation opens behind the room in front: the channels say where it is.
    connect(&m_conversations, &Conversations::opened, this,
            [this](irc::IrcConnection *connection, ChatRoom *room, const QString &nick) {
                for (ChatRoom *channelRoom : roomsOf(connection, {}))
                    showStatus(channelRoom,
                               tr("%1 writes to you alone: the conversation is in the room %2")
                                   .arg(nick, room->name()));
            });
}

IrcRooms::~IrcRooms() = default;

QList<irc::IrcConnection *> IrcRooms::connections() const {
    QList<irc::IrcConnection *> out;
    for (const auto &connection : m_connections)
        out.append(connection.get());
    return out;
}

void IrcRooms::start() {
    for (const auto &connection : m_connections)
        connection->start();
}

void IrcRooms::stop() {
    for (const auto &connection : m_connections)
        connection->stop(QStringLiteral("chathost closed"));
}

QList<ChatRoom *> IrcRooms::roomsOf(irc::IrcConnection *connection, const QString &channel) const {
    QList<ChatRoom *> rooms;
    for (const Channel &entry : m_channels) {
        if (entry.room && entry.connection == connection &&
            (channel.isEmpty() || entry.channel == channel))
            rooms.append(entry.room);
    }
    // What is meant for no channel of ours (a private message, the server's
    // word) shows in the network's first room.
    if (rooms.isEmpty() && !channel.isEmpty())
        return roomsOf(connection, {}).mid(0, 1);
    return rooms;
}

void IrcRooms::showStatus(ChatRoom *room, const QString &text) {
    room->appendStatus(text);
    emit statusShown(room->name(), text);
}

void IrcRooms::showAnnounce(irc::IrcConnection *connection, const QString &channel) {
    for (const Channel &entry : std::as_const(m_channels)) {
        if (entry.room && entry.connection == connection &&
            entry.channel.compare(channel, Qt::CaseInsensitive) == 0)
            showStatus(entry.room, announceStatus(entry.announce, entry.channel));
    }
}

void IrcRooms::connectSignals(irc::IrcConnection *connection) {
    using irc::IrcConnection;
    connect(connection, &IrcConnection::status, this,
            [this, connection](const QString &channel, const QString &text) {
                // A channel's, every room's, or a conversation's (lines to a person dropped).
                QList<ChatRoom *> rooms = roomsOf(connection, channel);
                if (channel.isEmpty())
                    rooms += m_conversations.roomsOf(connection);
                else if (ChatRoom *conversation = m_conversations.find(connection, channel))
                    rooms = {conversation};
                for (ChatRoom *room : std::as_const(rooms))
                    showStatus(room, text);
            });
    connect(connection, &IrcConnection::joined, this,
            [this, connection](const QString &channel) { showAnnounce(connection, channel); });
    connect(connection, &IrcConnection::peopleChanged, this,
            [this, connection](const QString &channel, const QStringList &people) {
                for (ChatRoom *room : roomsOf(connection, channel))
                    room->setPeople(people);
            });
    connect(connection, &IrcConnection::registered, this,
            [this, connection] { ownNickKnown(connection); });
    connect(connection, &IrcConnection::nickChanged, this,
            [this, connection](const QString &from, const QString &to) {
                if (irc::foldCase(to.toUtf8()) == irc::foldCase(connection->nick().toUtf8()))
                    ownNickKnown(connection);
                else
                    m_conversations.nickChanged(connection, from, to);
            });
    connect(connection, &IrcConnection::message, this,
            [this, connection](const QString &channel, const QString &nick, const QString &text,
                               IrcConnection::Kind kind) {
                const QString html = irc::ircToHtml(text);
                const bool toUs = channel.isEmpty();
                const QList<ChatRoom *> rooms =
                    toUs ? privateRooms(connection, nick, kind) : roomsOf(connection, channel);
                for (ChatRoom *room : rooms) {
                    QString speaker = nick;
                    if (kind == IrcConnection::Kind::Action) {
                        speaker = QStringLiteral("* ") + nick;
                        room->appendHtml(QStringLiteral("<i>* %1</i> ").arg(nick.toHtmlEscaped()) +
                                         html);
                    } else {
                        if (kind == IrcConnection::Kind::Notice)
                            speaker = QStringLiteral("-%1-").arg(nick);
                        room->appendHtml(ChatRoom::transcriptHtml(speaker, html));
                    }
                    emit heard(room->name(), speaker, html);
                }
            });
}

QList<ChatRoom *> IrcRooms::privateRooms(irc::IrcConnection *connection, const QString &nick,
                                         irc::IrcConnection::Kind kind) {
    // A notice opens nothing: services and servers send them unasked, and
    // nobody answers one.
    if (kind != irc::IrcConnection::Kind::Notice)
        return {m_conversations.open(connection, nick)};
    if (ChatRoom *open = m_conversations.find(connection, nick))
        return {open};
    return roomsOf(connection, {});
}

void IrcRooms::ownNickKnown(irc::IrcConnection *connection) {
    for (ChatRoom *room : roomsOf(connection, {}))
        room->setScreenName(connection->nick());
    m_conversations.ownNickKnown(connection);
}

void IrcRooms::posted(const QString &roomName, const QString &line) {
    for (const Channel &entry : std::as_const(m_channels)) {
        if (entry.room && entry.room->name() == roomName)
            sendTyped(entry.connection, entry.channel, entry.room, line);
    }
}

void IrcRooms::sendTyped(irc::IrcConnection *connection, const QString &target, ChatRoom *room,
                         const QString &line) {
    if (!connection->isRegistered())
        showStatus(room,
                   room->kind() == ChatRoom::Kind::Conversation
                       ? tr("not connected: the line goes to %1 once connected again").arg(target)
                       : tr("not connected yet: the line goes out once %1 is joined").arg(target));
    // A person's "/me waves" is an action; zorvel's lines never start so.
    static const QString kMe = QStringLiteral("/me ");
    const bool action = line.startsWith(kMe, Qt::CaseInsensitive);
    const QByteArray text =
        irc::htmlToIrc(action ? line.mid(kMe.size()) : line, {connection->config().hexColours});
    if (!text.trimmed().isEmpty())
        connection->sendText(target, text,
                             action ? irc::IrcConnection::Kind::Action
                                    : irc::IrcConnection::Kind::Message);
}

bool IrcRooms::setAway(const QString &text, const QDateTime &since) {
    bool taken = false;
    for (const auto &connection : m_connections) {
        taken = taken || connection->isRegistered();
        connection->setAway(text, since);
    }
    return taken;
}

void IrcRooms::showInChannels(
    const std::function<QString(const irc::IrcConnection *, const QString &channel)> &text) {
    for (const Channel &entry : std::as_const(m_channels)) {
        if (entry.room)
            showStatus(entry.room, text(entry.connection, entry.channel));
    }
}

} // namespace chathost
