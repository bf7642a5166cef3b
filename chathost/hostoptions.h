#pragma once

#include "chatwire/chatwire.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace chathost {

// What chathost was asked to be, from its command line.
struct HostOptions {
    QStringList roomNames;  // one per room, front to back
    QString screenName;     // the signed-in user who posts
    QString transcriptPath; // empty: no transcript file
    bool echo = false;      // print each posted line on stdout
    bool ping = false;      // only ask whether a chathost runs
    // --test-stall-after LINES, for tests only and so left out of --help: the
    // window thread stops once this many lines are posted (-1: never).
    int stallAfterLines = -1;
    bool version = false; // only print the version
    // --store-password NETWORK: only store the network's password, read
    // from standard input (Windows' Credential Manager; refused elsewhere).
    QString storePasswordFor;

    // IRC: the networks to join; their channels' rooms replace the local
    // rooms unless local ones were asked for too (--rooms, --room, ROOMS).
    QStringList ircUrls;      // --irc URL
    QStringList networkNames; // --network NAME, from the settings file
    QString nick;             // --nick
    bool insecure = false;    // --insecure: a plain irc:// connection is fine
    QString passwordFile;     // --password-file
    QString saslUser;         // --sasl-user
    QString caFile;           // --ca-file
    int scrollback = 5000;    // lines a room keeps
    // --autoreply MINUTES: while away, one reply per sender in that time (0:
    // none), over the settings file.
    std::optional<int> autoReplyMinutes;
    // --announce MODE: which of zorvel's lines every channel takes, over
    // what the settings file says.
    std::optional<chatwire::AnnounceMode> announce;
    // The channels' rooms, by name, with the mode each one's announce child
    // says (set once the networks are read; local rooms have none).
    QHash<QString, chatwire::AnnounceMode> roomAnnounce;
    bool localRoomsAsked = false;
    bool joinsIrc() const { return !ircUrls.isEmpty() || !networkNames.isEmpty(); }
};

// Parses the arguments (without the program name). On a mistake, nothing,
// with what was wrong in `error`; `help` is set when --help was asked.
std::optional<HostOptions> parseHostOptions(const QStringList &arguments, QString *error,
                                            bool *help);

} // namespace chathost
