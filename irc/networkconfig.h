#pragma once

#include "irc/awayrules.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace irc {

inline constexpr quint16 kTlsPort = 6697;
inline constexpr quint16 kPlainPort = 6667;

// One IRC network as chathost joins it.
struct NetworkConfig {
    QString name; // the settings group, or the host for a network from a URL
    QString host;
    quint16 port = kTlsPort;
    bool tls = true; // with the certificate checked; false only when asked for
    QString nick;
    QString userName;
    QString realName;
    QStringList channels;
    QString passwordFile; // the server password, or SASL's with saslUser
    QString saslUser;     // set: log in with SASL PLAIN instead of PASS
    QString caFile;       // certificates trusted besides the system's
    bool hexColours = false;
    // Which of zorvel's lines the channels take, as the settings file names
    // it: for every channel ("announce"), and for one ("announce.#chan",
    // kept under the channel's name in lower case). Empty: not said.
    QString announce;
    QHash<QString, QString> channelAnnounce;
    // While away, a private message gets one reply per sender in this many
    // minutes (0: none); the services named never get one.
    int autoReplyMinutes = 30;
    QStringList services = defaultServices();
};

// ircs://HOST[:PORT]/#chan[,#chan2] (TLS, port 6697 unless given) or
// irc://... (plain, port 6667). A channel's leading # may be left out of the
// URL ("/chan"), since a shell or a browser may take it for a comment or a
// fragment. Nothing, with the reason in `error`, for a malformed URL.
std::optional<NetworkConfig> parseIrcUrl(const QString &url, QString *error);

// $XDG_CONFIG_HOME/chathost/networks.ini
QString networksFilePath();

// The network of group `name` in the settings file (QSettings INI): keys host,
// port, tls, nick, username, realname, channels, passwordfile, sasluser,
// cafile, hexcolours, announce, announce.#CHANNEL, autoreply, services.
// Nothing, with the reason, when it is missing or wrong.
std::optional<NetworkConfig> loadNetwork(const QString &file, const QString &name, QString *error);

// Whole minutes from 0 to a year for autoreply=, else nothing.
std::optional<int> parseAutoReplyMinutes(const QString &text);

// Fills in what was left out (user and real name from the nick) and checks
// the whole: a valid nick, at least one valid channel. False with the reason.
bool completeNetwork(NetworkConfig &config, QString *error);

bool isValidNick(const QString &nick);
bool isValidChannel(const QString &channel);

} // namespace irc
