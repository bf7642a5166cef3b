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

} // namespace

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
