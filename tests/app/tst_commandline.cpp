// The command lines of the real programs, run with no display at all:
// --help and --version answer and end, a mistake is an error with status 2,
// and none of them starts anything. The manual pages keep up with --help.
#include "tests/chathostprocess.h"
#include "tests/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kZorvel = QStringLiteral(ZORVEL_EXE);
const QString kVersion = QStringLiteral(ZORVEL_TEST_VERSION);

struct Run {
    int status = -1;
    bool crashed = false;
    QString out;
    QString err;
};

// Runs a program as a shell would with no window system reachable: if it
// tried to show a window, Qt would end it with an abort, not a status.
Run runWithoutDisplay(const QString &program, const QStringList &arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QLatin1String(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.crashed = process.exitStatus() == QProcess::CrashExit;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// The options a --help text lists, as written there: "-h", "--help", ...
QStringList optionsIn(const QString &help) {
    const qsizetype from = help.indexOf(QLatin1String("\nOptions:\n"));
    QStringList found;
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    auto matches = option.globalMatch(help.mid(std::max<qsizetype>(from, 0)));
    while (matches.hasNext()) {
        const QString name = matches.next().captured(1);
        if (!found.contains(name))
            found.append(name);
    }
    return found;
}

QString manualPage(const QString &program) {
    QFile page(QStringLiteral(ZORVEL_SOURCE_DIR "/packaging/%1.1.in").arg(program));
    if (!page.open(QIODevice::ReadOnly))
        return {};
    // Roff writes a minus sign as \-.
    return QString::fromUtf8(page.readAll()).replace(QLatin1String("\\-"), QLatin1String("-"));
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
    TestEnv m_env;

private Q_SLOTS:
    void answersAndEnds_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        // Each line must be found in standard output, or in standard error.
        QTest::addColumn<QStringList>("out");
        QTest::addColumn<QStringList>("err");

        const QString chathost = ChatHostProcess::executable();
        const QStringList zorvelHelp{QStringLiteral("Usage: zorvel [options]"),
                                     QStringLiteral("Settings: ") + m_env.settingsFile(),
                                     QStringLiteral("-h, --help"), QStringLiteral("-v, --version"),
                                     QStringLiteral("--auto-idle MINUTES")};
        const QString tryHelp = QStringLiteral("Try 'zorvel --help'.");

        QTest::newRow("zorvel --help")
            << kZorvel << QStringList{u"--help"_s} << 0 << zorvelHelp << QStringList{};
        QTest::newRow("zorvel -h")
            << kZorvel << QStringList{u"-h"_s} << 0 << zorvelHelp << QStringList{};
        QTest::newRow("zorvel --version")
            << kZorvel << QStringList{u"--version"_s} << 0
            << QStringList{u"zorvel "_s + kVersion + u'\n'} << QStringList{};
        QTest::newRow("zorvel -v") << kZorvel << QStringList{u"-v"_s} << 0
                                   << QStringList{u"zorvel "_s + kVersion + u'\n'} << QStringList{};
        QTest::newRow("zorvel --bogus")
            << kZorvel << QStringList{u"--bogus"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("zorvel: Unknown option 'bogus'."), tryHelp};
        QTest::newRow("zorvel -x") << kZorvel << QStringList{u"-x"_s} << 2 << QStringList{}
                                   << QStringList{QStringLiteral("'x'"), tryHelp};
        QTest::newRow("a Qt option is not zorvel's")
            << kZorvel << QStringList{u"-platform"_s, u"xcb"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("'platform'"), tryHelp};
        QTest::newRow("zorvel with an argument")
            << kZorvel << QStringList{u"lobby"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("'lobby'"), tryHelp};
        QTest::newRow("--help with a value")
            << kZorvel << QStringList{u"--help=yes"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("'--help'"), tryHelp};
        QTest::newRow("--version after a mistake")
            << kZorvel << QStringList{u"--nope"_s, u"--version"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("'nope'")};

        // --auto-idle takes whole minutes; anything else stores nothing and
        // starts nothing, whatever else the line asks for.
        const auto badMinutes = [&](const char *row, const QStringList &arguments,
                                    const QString &said) {
            QTest::newRow(row) << kZorvel << arguments << 2 << QStringList{}
                               << QStringList{said, tryHelp};
        };
        const auto invalid = [](const char *value) {
            return QStringLiteral("Invalid value '%1' for --auto-idle").arg(QLatin1String(value));
        };
        badMinutes("--auto-idle garbage", {u"--auto-idle"_s, u"soon"_s}, invalid("soon"));
        badMinutes("--auto-idle with a unit", {u"--auto-idle=5m"_s}, invalid("5m"));
        badMinutes("--auto-idle negative", {u"--auto-idle"_s, u"-5"_s}, invalid("-5"));
        badMinutes("--auto-idle signed", {u"--auto-idle"_s, u"+5"_s}, invalid("+5"));
        badMinutes("--auto-idle a fraction", {u"--auto-idle"_s, u"2.5"_s}, invalid("2.5"));
        badMinutes("--auto-idle empty", {u"--auto-idle="_s}, invalid(""));
        badMinutes("--auto-idle beyond a year", {u"--auto-idle"_s, u"527041"_s}, invalid("527041"));
        badMinutes("--auto-idle beyond an int", {u"--auto-idle"_s, u"99999999999"_s},
                   invalid("99999999999"));
        badMinutes("--auto-idle without minutes", {u"--auto-idle"_s},
                   QStringLiteral("Missing value after '--auto-idle'"));
        badMinutes("--help after bad minutes", {u"--auto-idle"_s, u"x"_s, u"--help"_s},
                   invalid("x"));
        QTest::newRow("--help with minutes stores nothing")
            << kZorvel << QStringList{u"--auto-idle"_s, u"5"_s, u"--help"_s} << 0 << zorvelHelp
            << QStringList{};

        QTest::newRow("chathost --help")
            << chathost << QStringList{u"--help"_s} << 0
            << QStringList{QStringLiteral("Usage: chathost"), QStringLiteral("-v, --version")}
            << QStringList{};
        QTest::newRow("chathost --version")
            << chathost << QStringList{u"--version"_s} << 0
            << QStringList{u"chathost "_s + kVersion + u'\n'} << QStringList{};
        QTest::newRow("chathost -v")
            << chathost << QStringList{u"-v"_s} << 0
            << QStringList{u"chathost "_s + kVersion + u'\n'} << QStringList{};
        QTest::newRow("chathost --bogus")
            << chathost << QStringList{u"--bogus"_s} << 2 << QStringList{}
            << QStringList{QStringLiteral("unknown option --bogus"),
                           QStringLiteral("chathost --help")};
    }
    void answersAndEnds() {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QStringList, out);
        QFETCH(QStringList, err);

        const Run run = runWithoutDisplay(program, arguments);
        QVERIFY2(!run.crashed, qPrintable(run.err));
        QCOMPARE(run.status, status);
        for (const QString &line : out)
            QVERIFY2(run.out.contains(line), qPrintable(run.out));
        for (const QString &line : err)
            QVERIFY2(run.err.contains(line), qPrintable(run.err));
        // An answer goes to standard output, a mistake to standard error alone.
        if (status == 0)
            QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        else
            QVERIFY2(run.out.isEmpty(), qPrintable(run.out));
        // Nothing started: no settings made, no room opened.
        QVERIFY(QDir(m_env.configDir()).isEmpty());
        QVERIFY(QDir(m_env.runtimeDir()).isEmpty());
    }

    // Every option that --help lists is in the manual page too.
    void manualPagesListEveryOption_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        QTest::newRow("zorvel") << kZorvel << QStringLiteral("zorvel");
        QTest::newRow("chathost") << ChatHostProcess::executable() << QStringLiteral("chathost");
    }
    void manualPagesListEveryOption() {
        QFETCH(QString, program);
        QFETCH(QString, name);
        const QString page = manualPage(name);
        QVERIFY(page.contains(QLatin1String(".SH OPTIONS")));
        const Run run = runWithoutDisplay(program, {QStringLiteral("--help")});
        const QStringList options = optionsIn(run.out);
        QVERIFY2(options.contains(QLatin1String("--version")), qPrintable(run.out));
        for (const QString &option : options)
            QVERIFY2(page.contains(option), qPrintable(name + u".1 lacks "_s + option));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
