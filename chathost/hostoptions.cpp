#include "hostoptions.h"

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace chathost {
namespace {

constexpr int kMaxRooms = 20;
constexpr int kMaxScrollback = 10'000'000;
constexpr int kMaxAutoReplyMinutes = 527'040; // a year

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

// What the command line has said so far, before the rooms are counted.
struct ParsedLine {
    HostOptions options;
    std::optional<QString> roomCount;
    QStringList positional;
    QStringList namedRooms;
};

// An option that is a switch: it sets its field.
struct SwitchOption {
    QLatin1String shortName; // empty: none
    QLatin1String longName;
    bool HostOptions::*field;
};

const SwitchOption kSwitchOptions[] = {
    {QLatin1String(), QLatin1String("--echo"), &HostOptions::echo},
    {QLatin1String(), QLatin1String("--ping"), &HostOptions::ping},
    {QLatin1String("-v"), QLatin1String("--version"), &HostOptions::version},
    {QLatin1String(), QLatin1String("--insecure"), &HostOptions::insecure},
};

// An option that takes the next argument as its value; false, with the
// mistake in `error`, when the value will not do.
struct ValueOption {
    QLatin1String shortName; // empty: none
    QLatin1String longName;
    bool (*take)(ParsedLine &line, const QString &value, QString *error);
};

bool storeStallAfter(ParsedLine &line, const QString &value, QString *error) {
    bool ok = false;
    line.options.stallAfterLines = value.toInt(&ok);
    if (ok && line.options.stallAfterLines >= 0)
        return true;
    *error = QStringLiteral("--test-stall-after needs a number of lines, not \"%1\"").arg(value);
    return false;
}

// Stores the value in a text field of the options.
template <QString HostOptions::*field>
bool storeText(ParsedLine &line, const QString &value, QString *) {
    line.options.*field = value;
    return true;
}

// Appends the value to a list of the options.
template <QStringList HostOptions::*field>
bool appendText(ParsedLine &line, const QString &value, QString *) {
    (line.options.*field).append(value);
    return true;
}

bool storeAnnounce(ParsedLine &line, const QString &value, QString *error) {
    line.options.announce = chatwire::parseAnnounceMode(value);
    if (!line.options.announce)
        *error = QStringLiteral("--announce takes full, changes or quiet, not \"%1\"").arg(value);
    return line.options.announce.has_value();
}

const ValueOption kValueOptions[] = {
    {QLatin1String("-n"), QLatin1String("--rooms"),
     [](ParsedLine &line, const QString &value, QString *) {
         line.roomCount = value;
         return true;
     }},
    {QLatin1String("-s"), QLatin1String("--screen-name"), storeText<&HostOptions::screenName>},
    {QLatin1String("-r"), QLatin1String("--room"),
     [](ParsedLine &line, const QString &value, QString *) {
         line.namedRooms.append(value);
         return true;
     }},
    {QLatin1String(), QLatin1String("--transcript"), storeText<&HostOptions::transcriptPath>},
    {QLatin1String(), QLatin1String("--test-stall-after"), storeStallAfter},
    {QLatin1String(), QLatin1String("--irc"), appendText<&HostOptions::ircUrls>},
    {QLatin1String(), QLatin1String("--nick"), storeText<&HostOptions::nick>},
    {QLatin1String(), QLatin1String("--network"), appendText<&HostOptions::networkNames>},
    {QLatin1String(), QLatin1String("--password-file"), storeText<&HostOptions::passwordFile>},
    {QLatin1String(), QLatin1String("--sasl-user"), storeText<&HostOptions::saslUser>},
    {QLatin1String(), QLatin1String("--store-password"), storeText<&HostOptions::storePasswordFor>},
    {QLatin1String(), QLatin1String("--ca-file"), storeText<&HostOptions::caFile>},
    {QLatin1String(), QLatin1String("--announce"), storeAnnounce},
    {QLatin1String(), QLatin1String("--autoreply"),
     [](ParsedLine &line, const QString &value, QString *error) {
         bool ok = false;
         const int minutes = value.toInt(&ok);
         if (ok && minutes >= 0 && minutes <= kMaxAutoReplyMinutes)
             line.options.autoReplyMinutes = minutes;
         else
             *error = QStringLiteral("--autoreply takes whole minutes from 0 to 527040, not "
                                     "\"%1\"")
                          .arg(value);
         return line.options.autoReplyMinutes.has_value();
     }},
    {QLatin1String(), QLatin1String("--scrollback"),
     [](ParsedLine &line, const QString &value, QString *error) {
         return parseScrollback(value, &line.options.scrollback, error);
     }},
};

// Whether `arg` names the option; an empty argument names none.
template <typename Option> bool isNamed(const Option &option, const QString &arg) {
    return arg == option.longName || (!option.shortName.isEmpty() && arg == option.shortName);
}

template <typename Option, std::size_t count>
const Option *findOption(const Option (&options)[count], const QString &arg) {
    const auto found = std::find_if(std::begin(options), std::end(options),
                                    [&](const Option &option) { return isNamed(option, arg); });
    return found == std::end(options) ? nullptr : found;
}

// Takes the argument at `i` (and its value, which moves `i` on); false, with
// the mistake in `error`, when the line cannot be used.
bool takeArgument(const QStringList &arguments, qsizetype &i, ParsedLine &line, QString *error) {
    const QString &arg = arguments[i];
    if (const SwitchOption *option = findOption(kSwitchOptions, arg)) {
        line.options.*(option->field) = true;
        return true;
    }
    if (const ValueOption *option = findOption(kValueOptions, arg)) {
        if (i + 1 >= arguments.size()) {
            *error = QStringLiteral("%1 needs a value").arg(arg);
            return false;
        }
        return option->take(line, arguments[++i], error);
    }
    if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
        *error = QStringLiteral("unknown option %1").arg(arg);
        return false;
    }
    line.positional.append(arg);
    return true;
}

// The arguments that are not options: ROOMS [SCREENNAME [ROOMNAME...]],
// each only where its option did not say it.
void applyPositional(ParsedLine &line) {
    if (!line.positional.isEmpty() && !line.roomCount)
        line.roomCount = line.positional.first();
    line.options.localRoomsAsked = line.roomCount || !line.namedRooms.isEmpty();
    if (line.positional.size() > 1 && line.options.screenName.isEmpty())
        line.options.screenName = line.positional[1];
    line.namedRooms += line.positional.mid(2);
}

// The number of rooms asked for, raised to the rooms named; nothing, with
// the mistake in `error`, when the count will not do.
std::optional<int> countRooms(const ParsedLine &line, QString *error) {
    int rooms = 1;
    if (line.roomCount) {
        bool ok = false;
        rooms = line.roomCount->toInt(&ok);
        if (!ok || rooms < 1 || rooms > kMaxRooms) {
            *error = QStringLiteral("the number of rooms must be 1 to %1, not \"%2\"")
                         .arg(kMaxRooms)
                         .arg(*line.roomCount);
            return std::nullopt;
        }
    }
    return std::max(rooms, int(std::min<qsizetype>(line.namedRooms.size(), kMaxRooms)));
}

QStringList roomNames(int rooms, const QStringList &namedRooms) {
    QStringList names;
    for (int i = 0; i < rooms; ++i) {
        QString name = i < namedRooms.size() ? namedRooms[i] : QString();
        // A room name is one field of a transcript record.
        name.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (name.trimmed().isEmpty())
            name = i == 0 ? QStringLiteral("Lobby") : QStringLiteral("Room %1").arg(i + 1);
        names.append(name);
    }
    return names;
}

// The --help text, in parts: between them what differs between the systems
// (how other programs reach the rooms, where the networks' settings and
// passwords come from).
const char kIntroUsage[] =
    "Usage: chathost [options] [ROOMS [SCREENNAME [ROOMNAME...]]]\n"
    "\n"
    "A stand-in chat client: a main window with ROOMS chat rooms (default 1, at most 20)\n"
    "and a welcome window in front of them. Lines typed into a room's entry box are\n"
    "posted from SCREENNAME (default \"Guest\"); rooms are named by the ROOMNAMEs given,\n"
    "the rest \"Lobby\", \"Room 2\", ...\n"
    "\n";
const char kOptionsUsage[] =
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
    "                           font colours when stdout is a terminal\n";
const char kMoreOptionsUsage[] =
    "  -v, --version            print the version and exit\n"
    "  --scrollback N           lines each room keeps (default 5000)\n"
    "  -h, --help               show this text\n"
    "\n"
    "IRC: each channel becomes a room, the first one in front behind the welcome\n"
    "window, in place of the local rooms (unless --rooms, --room or ROOMS asks for\n"
    "local ones too). What is posted in a channel's room goes to the channel, and\n"
    "zorvel's idle on and off mark you away and back on every network.\n"
    "  --irc URL                join ircs://HOST[:PORT]/#chan[,#chan2] (TLS with the\n"
    "                           certificate checked, port 6697 by default); a plain\n"
    "                           irc://HOST[:PORT]/#chan needs --insecure as well\n"
    "  --nick NICK              the nick on the network (default: the screen name)\n"
    "  --network NAME           join the network [NAME] of the settings file\n"
    "  --insecure               allow a connection without TLS\n";
const char kAnnounceUsage[] =
    "  --ca-file FILE           trust the certificates in FILE besides the system's\n"
    "  --announce MODE          which of zorvel's lines each channel takes, over the\n"
    "                           settings file: changes (the default: going idle, the\n"
    "                           reason once, coming back, statistics), full (every\n"
    "                           line) or quiet (none: the away status says why)\n"
    "  --autoreply MINUTES      while you are away, a private message gets one notice\n"
    "                           back per sender in MINUTES (default 30; 0: none)\n"
    "\n";
const char kSettingsHead[] = "\nSettings file: ";
const char kSettingsUsage[] = ",\n"
                              "one group per network, for --network NAME:\n"
                              "  [example]\n"
                              "  host=irc.example.org\n"
                              "  port=6697\n"
                              "  tls=true\n"
                              "  nick=MyNick\n"
                              "  username=mynick\n"
                              "  realname=My Name\n"
                              "  channels=#one, #two\n";
const char kSettingsTailUsage[] =
    "  hexcolours=false        (true: colours also as \\x04RRGGBB)\n"
    "  announce=changes        (full, changes or quiet: as --announce)\n"
    "  announce.#two=full      (for that channel, over announce=)\n"
    "  autoreply=30            (as --autoreply)\n"
    "  services=NickServ, ChanServ, MemoServ, OperServ, HostServ, BotServ, Global\n"
    "                          (never sent an away reply)\n";
#ifdef Q_OS_WIN
const char kReachedUsage[] =
    "Other programs find the rooms through chathost's window tree (its top-level\n"
    "window has the class \"AOL Frame25\") and drive them with window messages.\n"
    "Only one chathost runs per user session: a second one says which one runs and\n"
    "exits with status 1.\n";
const char kPingUsage[] =
    "  --ping                   do not start: say whether a chathost's window is\n"
    "                           there (exit status 0) or not (1)\n";
const char kSecretUsage[] =
    "  --password-file FILE     the server password (or with --sasl-user the SASL\n"
    "                           password) is the first line of FILE, which only you\n"
    "                           (with SYSTEM and Administrators) may read: never on\n"
    "                           the command line. Without it, the password stored\n"
    "                           for the network (--store-password) is used\n"
    "  --store-password NETWORK do not start: store the first line of standard input\n"
    "                           as NETWORK's password in the Credential Manager, as\n"
    "                           chathost:NETWORK (NETWORK: a networks.ini group, or\n"
    "                           the host of an --irc URL)\n"
    "  --sasl-user NAME         log in with SASL PLAIN as NAME\n";
const char kAwayUsage[] =
    "While you are away (zorvel's idle on, until idle off), private messages and\n"
    "channel lines naming your nick are kept in away.log in the chathost folder of\n"
    "the user's local application data (%LOCALAPPDATA%\\chathost; one record a line:\n"
    "UTC time, network, channel or -, sender, text, TAB between them) and shown, back,\n"
    "in the window \"While you were away\"; closed, the log becomes away.log.1.\n"
    "away.state beside it keeps the away period for a chathost started again.\n";
const char kSettingsPlace[] =
    "%APPDATA%\\chathost\\networks.ini\n(in the user's roaming application data folder)";
const char kSecretKeysUsage[] = "  passwordfile=C:\\Users\\me\\example.pass\n"
                                "  sasluser=MyAccount\n"
                                "  cafile=C:\\Users\\me\\my-ca.pem\n";
#else
const char kReachedUsage[] =
    "Other programs drive the rooms through the local socket\n"
    "<runtime folder>/chathost.sock (owner only; the runtime folder is $XDG_RUNTIME_DIR).\n"
    "Only one chathost runs per user: a second one says where the first is and exits\n"
    "with status 1.\n";
const char kPingUsage[] =
    "  --ping                   do not start: say whether a chathost answers on the\n"
    "                           socket (exit status 0) or not (1)\n";
const char kSecretUsage[] =
    "  --password-file FILE     the server password (or with --sasl-user the SASL\n"
    "                           password) is the first line of FILE, which only you\n"
    "                           may read (chmod 600): never on the command line\n"
    "  --sasl-user NAME         log in with SASL PLAIN as NAME\n";
const char kAwayUsage[] =
    "While you are away (zorvel's idle on, until idle off), private messages and\n"
    "channel lines naming your nick are kept in $XDG_STATE_HOME/chathost/away.log\n"
    "(~/.local/state/...; one record a line: UTC time, network, channel or -, sender,\n"
    "text, TAB between them) and shown, back, in the window \"While you were away\";\n"
    "closed, the log becomes away.log.1. away.state beside it keeps the away period\n"
    "for a chathost started again.\n";
const char kSettingsPlace[] = "$XDG_CONFIG_HOME/chathost/networks.ini (~/.config/chathost/...)";
const char kSecretKeysUsage[] = "  passwordfile=/home/me/.config/chathost/example.pass\n"
                                "  sasluser=MyAccount\n"
                                "  cafile=/home/me/my-ca.pem\n";
#endif

} // namespace

QString usageText() {
    QString text;
    for (const char *part :
         {kIntroUsage, kReachedUsage, kOptionsUsage, kPingUsage, kMoreOptionsUsage, kSecretUsage,
          kAnnounceUsage, kAwayUsage, kSettingsHead, kSettingsPlace, kSettingsUsage,
          kSecretKeysUsage, kSettingsTailUsage})
        text += QLatin1String(part);
    return text;
}

std::optional<HostOptions> parseHostOptions(const QStringList &arguments, QString *error,
                                            bool *help) {
    ParsedLine line;
    *help = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("-h") || arguments[i] == QLatin1String("--help")) {
            *help = true;
            return std::nullopt;
        }
        if (!takeArgument(arguments, i, line, error))
            return std::nullopt;
    }
    applyPositional(line);
    const std::optional<int> rooms = countRooms(line, error);
    if (!rooms)
        return std::nullopt;
    line.options.roomNames = roomNames(*rooms, line.namedRooms);
    if (line.options.screenName.trimmed().isEmpty())
        line.options.screenName = QStringLiteral("Guest");
    return line.options;
}

} // namespace chathost
