#include "hostoptions.h"

#include <algorithm>

namespace chathost {
namespace {

constexpr int kMaxRooms = 20;

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
        "  -h, --help               show this text\n");
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
        const bool takesValue = arg == "-n" || arg == "--rooms" || arg == "-s" ||
                                arg == "--screen-name" || arg == "-r" || arg == "--room" ||
                                arg == "--transcript" || arg == "--test-stall-after";
        if (arg == "-h" || arg == "--help") {
            *help = true;
            return std::nullopt;
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--ping") {
            options.ping = true;
        } else if (arg == QLatin1String("-v") || arg == QLatin1String("--version")) {
            options.version = true;
        } else if (takesValue) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 needs a value").arg(arg);
                return std::nullopt;
            }
            const QString value = arguments[++i];
            if (arg == "-n" || arg == "--rooms")
                roomCount = value;
            else if (arg == "-s" || arg == "--screen-name")
                options.screenName = value;
            else if (arg == "-r" || arg == "--room")
                namedRooms.append(value);
            else if (arg == "--transcript")
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
        } else if (arg.startsWith('-') && arg.size() > 1) {
            *error = QStringLiteral("unknown option %1").arg(arg);
            return std::nullopt;
        } else {
            positional.append(arg);
        }
    }

    if (!positional.isEmpty() && !roomCount)
        roomCount = positional.first();
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
        name.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
        if (name.trimmed().isEmpty())
            name = i == 0 ? QStringLiteral("Lobby") : QStringLiteral("Room %1").arg(i + 1);
        options.roomNames.append(name);
    }
    if (options.screenName.trimmed().isEmpty())
        options.screenName = QStringLiteral("Guest");
    return options;
}

} // namespace chathost
