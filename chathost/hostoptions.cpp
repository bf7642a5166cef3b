#include "hostoptions.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace chathost {
namespace {

constexpr int kMaxRooms = 20;
constexpr int kMaxScrollback = 10'000'000;

bool parseScrollback(const QString &value, int *lines, QString *error) {
    bool ok = false;
    *lines = value.toInt(&ok);
    if (ok && *lines >= 1 && *lines <= kMaxScrollback)
        return true;
    *error = QStringLiteral("--scrollback takes a number of lines from 1 to %1, not \"%2\"")
                 .arg(kMaxScrollback)
                 .arg(value);
    return false;
}

} // namespace

QString usageText() {
    return QStringLiteral(
        "Usage: chathost [options] [ROOMS [SCREENNAME [ROOMNAME...]]]\n"
        "\n"
        "A stand-in chat client: a main window with ROOMS chat rooms (default 1, at most 20)\n"
        "and a welcome window in front of them. Lines typed into a room's entry box are\n"
        "posted from SCREENNAME (default \"Guest\"); rooms are named by the ROOMNAMEs given,\n"
        "the rest \"Lobby\", \"Room 2\", ...\n"
        "\n"
        "Other programs drive the rooms through the local socket\n"
        "<runtime folder>/chathost.sock (owner only; the runtime folder is $XDG_RUNTIME_DIR).\n"
        "Only one chathost runs per user: a second one says where the first is and exits\n"
        "with status 1.\n"
        "\n"
        "Options:\n"
        "  -n, --rooms N            number of chat rooms\n"
        "  -s, --screen-name NAME   the signed-in screen name\n"
        "  -r, --room NAME          name the next room (may be repeated)\n"
        "  --transcript FILE        append one record per posted line to FILE, flushed at\n"
        "                           once: milliseconds since the epoch, TAB, room name\n"
        "                           (UTF-8), TAB, the line's raw Windows-1252 bytes with\n"
        "                           backslash, CR and LF written as \\\\, \\r and \\n, LF\n"
        "  --echo                   print each posted line on stdout as plain text, in its\n"
        "                           font colours when stdout is a terminal\n"
        "  --ping                   do not start: say whether a chathost answers on the\n"
        "                           socket (exit status 0) or not (1)\n"
        "  -v, --version            print the version and exit\n"
        "  --scrollback N           lines each room keeps (default 5000)\n"
        "  -h, --help               show this text\n"
        "\n"
        "IRC: each channel becomes a room, the first one in front behind the welcome\n"
        "window, in place of the local rooms (unless --rooms, --room or ROOMS asks for\n"
        "local ones too). What is posted in a channel's room goes to the channel.\n"
        "  --irc URL                join ircs://HOST[:PORT]/#chan[,#chan2] (TLS with the\n"
        "                           certificate checked, port 6697 by default); a plain\n"
        "                           irc://HOST[:PORT]/#chan needs --insecure as well\n"
        "  --nick NICK              the nick on the network (default: the screen name)\n"
        "  --network NAME           join the network [NAME] of the settings file\n"
        "  --insecure               allow a connection without TLS\n"
        "  --password-file FILE     the server password (or with --sasl-user the SASL\n"
        "                           password) is the first line of FILE, which only you\n"
        "                           may read (chmod 600): never on the command line\n"
        "  --sasl-user NAME         log in with SASL PLAIN as NAME\n"
        "  --ca-file FILE           trust the certificates in FILE besides the system's\n"
        "\n"
        "Settings file: $XDG_CONFIG_HOME/chathost/networks.ini (~/.config/chathost/...),\n"
        "one group per network, for --network NAME:\n"
        "  [example]\n"
        "  host=irc.example.org\n"
        "  port=6697\n"
        "  tls=true\n"
        "  nick=MyNick\n"
        "  username=mynick\n"
        "  realname=My Name\n"
        "  channels=#one, #two\n"
        "  passwordfile=/home/me/.config/chathost/example.pass\n"
        "  sasluser=MyAccount\n"
        "  cafile=/home/me/my-ca.pem\n"
        "  hexcolours=false        (true: colours also as \\x04RRGGBB)\n");
}

std::optional<HostOptions> parseHostOptions(const QStringList &arguments, QString *error,
                                            bool *help) {
    HostOptions options;
    std::optional<QString> roomCount;
    QStringList positional;
    QStringList namedRooms;
    *help = false;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const bool takesValue = arg == "-n"_L1 || arg == "--rooms"_L1 || arg == "-s"_L1 ||
                                arg == "--screen-name"_L1 || arg == "-r"_L1 || arg == "--room"_L1 ||
                                arg == "--transcript"_L1 || arg == "--test-stall-after"_L1 ||
                                arg == "--irc"_L1 || arg == "--nick"_L1 || arg == "--network"_L1 ||
                                arg == "--password-file"_L1 || arg == "--sasl-user"_L1 ||
                                arg == "--ca-file"_L1 || arg == "--scrollback"_L1;
        if (arg == "-h"_L1 || arg == "--help"_L1) {
            *help = true;
            return std::nullopt;
        } else if (arg == "--echo"_L1) {
            options.echo = true;
        } else if (arg == "--ping"_L1) {
            options.ping = true;
        } else if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            options.version = true;
        } else if (arg == QLatin1String("--insecure")) {
            options.insecure = true;
        } else if (takesValue) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return std::nullopt;
            }
            const QString value = arguments[++i];
            if (arg == "-n"_L1 || arg == "--rooms"_L1)
                roomCount = value;
            else if (arg == "--irc"_L1)
                options.ircUrls.append(value);
            else if (arg == "--network"_L1)
                options.networkNames.append(value);
            else if (arg == "--nick"_L1)
                options.nick = value;
            else if (arg == "--password-file"_L1)
                options.passwordFile = value;
            else if (arg == "--sasl-user"_L1)
                options.saslUser = value;
            else if (arg == "--ca-file"_L1)
                options.caFile = value;
            else if (arg == "--scrollback"_L1) {
                if (!parseScrollback(value, &options.scrollback, error))
                    return std::nullopt;
            } else if (arg == "-s"_L1 || arg == "--screen-name"_L1)
                options.screenName = value;
            else if (arg == "-r"_L1 || arg == "--room"_L1)
                namedRooms.append(value);
            else if (arg == "--transcript"_L1)
                options.transcriptPath = value;
            else {
                bool ok = false;
                options.stallAfterLines = value.toInt(&ok);
                if (!ok || options.stallAfterLines < 0) {
                    *error =
                        QStringLiteral("%1 needs a number of lines, not \"%2\"").arg(arg, value);
                    return std::nullopt;
                }
            }
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        } else {
            positional.append(arg);
        }
    }

    if (!positional.isEmpty() && !roomCount)
        roomCount = positional.first();
    options.localRoomsAsked = roomCount || !namedRooms.isEmpty();
    if (positional.size() > 1 && options.screenName.isEmpty())
        options.screenName = positional[1];
    namedRooms += positional.mid(2);

    int rooms = 1;
    if (roomCount) {
        bool ok = false;
        rooms = roomCount->toInt(&ok);
        if (!ok || rooms < 1 || rooms > kMaxRooms) {
            *error = QStringLiteral("the number of rooms must be 1 to %1, not \"%2\"")
                         .arg(kMaxRooms)
                         .arg(*roomCount);
            return std::nullopt;
        }
    }
    rooms = std::max(rooms, int(std::min<qsizetype>(namedRooms.size(), kMaxRooms)));
    for (int i = 0; i < rooms; ++i) {
        QString name = i < namedRooms.size() ? namedRooms[i] : QString();
        // A room name is one field of a transcript record.
        name.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
        if (name.trimmed().isEmpty())
            name = i == 0 ? QStringLiteral("Lobby") : QStringLiteral("Room %1").arg(i + 1);
        options.roomNames.append(name);
    }
    if (options.screenName.trimmed().isEmpty())
        options.screenName = QStringLiteral("Guest");
    return options;
}

} // namespace chathost
