#include "commandline.h"

#include "autoidle/autoidle.h"
#include "platform/configpaths.h"
#include "version.h"

#include <QCommandLineParser>

#include <algorithm>
#include <cstdio>

namespace app {

namespace {

// Every option zorvel takes, in the order --help lists them.
QList<QCommandLineOption> options() {
    return {
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this text and exit.")},
        {{QStringLiteral("v"), QStringLiteral("version")},
         QStringLiteral("Show the version and exit.")},
        {QStringLiteral("auto-idle"),
         QStringLiteral("Go idle by itself after MINUTES without keyboard\n"
                        "or pointer input, and come back at the next input;\n"
                        "0 turns that off. Stored in the settings file,\n"
                        "then zorvel starts."),
         QStringLiteral("MINUTES")},
    };
}

// The options as --help lists them: names left, descriptions in a column.
QString optionList() {
    const QList<QCommandLineOption> all = options();
    QStringList columns;
    for (const QCommandLineOption &option : all) {
        QStringList spelled;
        for (const QString &name : option.names())
            spelled.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
        QString column = spelled.join(QStringLiteral(", "));
        if (!option.valueName().isEmpty())
            column += QLatin1Char(' ') + option.valueName();
        columns.append(column);
    }
    qsizetype width = 0;
    for (const QString &column : columns)
        width = std::max(width, column.size());
    QString text;
    // A description's further lines stand in its column too.
    const QString continued = QLatin1Char('\n') + QString(width + 4, QLatin1Char(' '));
    for (qsizetype i = 0; i < all.size(); ++i)
        text += QStringLiteral("  ") + columns[i].leftJustified(width + 2) +
                QString(all[i].description()).replace(QLatin1Char('\n'), continued) +
                QLatin1Char('\n');
    return text;
}

void print(std::FILE *to, const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), to);
    std::fflush(to);
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments) {
    const QString autoIdle = QStringLiteral("auto-idle");
    QCommandLineParser parser;
    // "-platform" is one unknown option, not eight letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options());
    CommandLine command;
    if (!parser.parse(QStringList{QStringLiteral("zorvel")} + arguments)) {
        command.answer = CommandLine::Answer::Mistake;
        command.error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        command.answer = CommandLine::Answer::Mistake;
        command.error = QStringLiteral("Unexpected argument '%1': zorvel takes options only.")
                            .arg(parser.positionalArguments().constFirst());
    } else if (parser.isSet(autoIdle) && !autoidle::givenMinutes(parser.value(autoIdle))) {
        command.answer = CommandLine::Answer::Mistake;
        command.error = QStringLiteral("Invalid value '%1' for --auto-idle: give whole minutes "
                                       "from 1 to %2, or 0 to turn auto-idle off.")
                            .arg(parser.value(autoIdle))
                            .arg(autoidle::kMostMinutes);
    } else if (parser.isSet(QStringLiteral("help"))) {
        command.answer = CommandLine::Answer::Help;
    } else if (parser.isSet(QStringLiteral("version"))) {
        command.answer = CommandLine::Answer::Version;
    } else if (parser.isSet(autoIdle)) {
        command.autoIdleMinutes = autoidle::givenMinutes(parser.value(autoIdle));
    }
    return command;
}

QString helpText() {
    return QStringLiteral(
               "Usage: zorvel [options]\n"
               "\n"
               "zorvel speaks for you in a chat room while you are away. A small strip,\n"
               "always on top, shows an idle clock and a menu button. zorvel says in the\n"
               "room when it loads, when you go idle and come back, posts your handle,\n"
               "idle time, reason and style every 59 seconds while you are away, reports\n"
               "statistics on request, and says goodbye when it unloads. A left click on\n"
               "the menu button opens the session menu, a right click the options and\n"
               "the style shop. The room is that of the chathost running for this user.\n"
               "\n"
               "Settings: %1\n"
               "(an INI file in Windows-1252, made with defaults on the first start; its\n"
               "folder follows $XDG_CONFIG_HOME, by default ~/.config)\n"
               "\n"
               "Options:\n")
               .arg(platform::settingsFile()) +
           optionList() + QStringLiteral("\nSee also zorvel(1) and chathost(1).\n");
}

QString versionText() { return QStringLiteral("zorvel " ZORVEL_VERSION "\n"); }

int answerCommandLine(const CommandLine &command) {
    switch (command.answer) {
    case CommandLine::Answer::Help:
        print(stdout, helpText());
        return 0;
    case CommandLine::Answer::Version:
        print(stdout, versionText());
        return 0;
    case CommandLine::Answer::Mistake:
        print(stderr, QStringLiteral("zorvel: %1\nTry 'zorvel --help'.\n").arg(command.error));
        return 2;
    case CommandLine::Answer::Start:
        break;
    }
    return 0;
}

} // namespace app
