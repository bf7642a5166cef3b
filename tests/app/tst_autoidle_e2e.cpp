// Auto-idle end to end: the test build of zorvel (the "autoidle" key read in
// seconds) under a real X server whose idle time only real input resets,
// every line checked in a real chathost's transcript; and the program on a
// desktop that cannot tell its idle time, where --auto-idle stores the key.
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "menus/menulines.h"
#include "settings/settingsfile.h"
#include "tests/chathostprocess.h"
#include "tests/defaultstyle.h"
#include "tests/testenv.h"
#include "tests/xvfbserver.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

QString setting(const char *key) {
    return settings::getFromIni(QLatin1String(settings::kSection), QLatin1String(key),
                                settings::settingsPath());
}

void setSetting(const char *key, const QString &value) {
    settings::writeToIni(QLatin1String(settings::kSection), QLatin1String(key), value,
                         settings::settingsPath());
}

// A settings file as a first start leaves it, with the key added unless it
// is null: a file that exists is never given the defaults.
void writeSettings(const QString &autoIdle) {
    using settings::Field;
    settings::ensureSettingsFolder();
    const settings::PlainRecord style = firstStartRecord();
    const std::pair<const char *, Field> keys[] = {
        {"preset", Field::StyleName},    {"pfcolor", Field::FontColour},
        {"pacolor", Field::AsciiColour}, {"pmascii", Field::MiddleAscii},
        {"pfascii", Field::FrontAscii},  {"pbascii", Field::BackAscii}};
    for (const auto &[key, field] : keys)
        setSetting(key, style.caption(field));
    setSetting("handle", QStringLiteral("frobble"));
    if (!autoIdle.isNull())
        setSetting("autoidle", autoIdle);
}

// The file's bytes but for the line of zorvel's "autoidle" key.
QByteArray withoutAutoIdle(const QByteArray &bytes) {
    QByteArray kept;
    bool ours = false;
    for (const QByteArray &line : bytes.split('\n')) {
        const QByteArray trimmed = line.trimmed().toLower();
        if (trimmed.startsWith('['))
            ours = trimmed == "[zorvel]";
        const qsizetype equals = trimmed.indexOf('=');
        if (ours && equals > 0 && trimmed.left(equals).trimmed() == "autoidle")
            continue;
        kept += line + '\n';
    }
    return kept;
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The environment of a zorvel that finds no desktop session at all.
QProcessEnvironment withoutDesktop() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_SESSION_TYPE"})
        env.remove(QLatin1String(name));
    return env;
}

} // namespace

class TestAutoIdleE2e : public QObject {
    Q_OBJECT

    TestEnv m_env;

private Q_SLOTS:
    // A desktop that cannot tell its idle time: said once on standard error
    // when the key is on, nothing when it is off; the program runs as ever.
    // --auto-idle stores the key and starts: the rest of the file, bytes in
    // Windows-1252, other sections and comments, stays as it was, and a
    // first start still gets the defaults.
    void noSourceAnswers_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("before"); // null: no key; "first start": no file
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("said");
        const QString none;
        const QString firstStart = QStringLiteral("first start");
        const QString autoIdle = QStringLiteral("--auto-idle");
        QTest::newRow("auto-idle on") << QStringList{} << u"5"_s << u"5"_s << 1;
        QTest::newRow("auto-idle off") << QStringList{} << u"0"_s << u"0"_s << 0;
        QTest::newRow("--auto-idle adds the key")
            << QStringList{autoIdle, u"12"_s} << none << u"12"_s << 1;
        QTest::newRow("--auto-idle= replaces it")
            << QStringList{u"--auto-idle=7"_s} << u"30"_s << u"7"_s << 1;
        QTest::newRow("--auto-idle plain digits")
            << QStringList{autoIdle, u"0045"_s} << u"0"_s << u"45"_s << 1;
        QTest::newRow("--auto-idle 0 turns it off")
            << QStringList{autoIdle, u"0"_s} << u"5"_s << u"0"_s << 0;
        QTest::newRow("--auto-idle on a first start")
            << QStringList{autoIdle, u"3"_s} << firstStart << u"3"_s << 1;
    }
    void noSourceAnswers() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, before);
        QFETCH(QString, key);
        QFETCH(int, said);
        ChatHostProcess host;
        QVERIFY2(host.start(), qPrintable(host.output()));
        const bool firstStart = before == QLatin1String("first start");
        QFile::remove(settings::settingsPath());
        QByteArray file;
        if (!firstStart) {
            writeSettings(before);
            // What a person or another version may have left in the file.
            QFile append(settings::settingsPath());
            QVERIFY(append.open(QIODevice::Append));
            append.write("; kept as written: caf\xe9\r\n[elsewhere]\r\nautoidle=99\r\n"
                         "note = d\xe9j\xe0 vu \r\n");
            append.close();
            file = readAll(settings::settingsPath());
        }
        QProcess zorvel;
        QProcessEnvironment env = withoutDesktop();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        zorvel.setProcessEnvironment(env);
        zorvel.start(QStringLiteral(ZORVEL_EXE), arguments);
        QVERIFY(zorvel.waitForStarted());
        QCOMPARE(host.waitForRecords(2, 15000).size(), 2);
        QTest::qWait(500);
        ::kill(pid_t(zorvel.processId()), SIGTERM);
        QVERIFY(zorvel.waitForFinished(30000));
        QCOMPARE(zorvel.exitCode(), 0);
        QCOMPARE(host.waitForRecords(4, 10000).size(), 4); // the closing lines
        const QString errors = QString::fromLocal8Bit(zorvel.readAllStandardError());
        QCOMPARE(int(errors.count(QStringLiteral("auto-idle stays off"))), said);
        QCOMPARE(setting("autoidle"), key);
        const QByteArray after = readAll(settings::settingsPath());
        if (firstStart) {
            QCOMPARE(setting("handle"), QStringLiteral("frobble"));
        } else {
            QCOMPARE(withoutAutoIdle(after), withoutAutoIdle(file));
            QVERIFY(after.contains("\r\nautoidle=99\r\n")); // another section's key
        }
    }

    // Left alone for the key's time, zorvel goes idle with the idle-on line;
    // a pointer move brings it back with the idle-off line and the idle time
    // kept; left alone again, it goes idle again.
    void leftAloneAndBack() {
        if (!XvfbServer::toolsInstalled())
            QFAIL("Xvfb and xdotool are needed: the set-up script installs them");
        XvfbServer x;
        QVERIFY(x.start());
        qputenv("DISPLAY", x.display().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("XDG_SESSION_TYPE");
        ChatHostProcess host;
        QVERIFY2(host.start(), qPrintable(host.output()));

        constexpr int kSeconds = 4; // the load lines are out well before
        writeSettings(QStringLiteral("0"));
        setSetting("reason", QStringLiteral("brb"));
        QProcess zorvel;
        zorvel.setProcessChannelMode(QProcess::ForwardedChannels);
        x.movePointer(5, 5);
        // Switched on from the command line, as a person would.
        zorvel.start(QStringLiteral(ZORVEL_FASTIDLE_EXE),
                     {QStringLiteral("--auto-idle"), QString::number(kSeconds)});
        QVERIFY(zorvel.waitForStarted());
        QCOMPARE(host.waitForRecords(2, 15000).size(), 2);
        QVERIFY(setting("lastidle").isEmpty());

        // The key is read as seconds in this build: no input for that long.
        const QByteArray engaged =
            hostlink::toWindows1252(control::idleSessionLine(firstStartRecord(), true));
        const QByteArray disengaged =
            hostlink::toWindows1252(control::idleSessionLine(firstStartRecord(), false));
        x.movePointer(40, 40);
        const qint64 lastInput = QDateTime::currentMSecsSinceEpoch();
        const int on = host.waitForLine(engaged, 2, 20000);
        if (on != 2) {
            for (const TranscriptRecord &record : host.records())
                qWarning("room: %s", qPrintable(hostlink::fromWindows1252(record.bytes)));
        }
        QVERIFY2(on == 2, "the idle-on line did not come, or came after another");
        const qint64 after = host.records().at(on).ms - lastInput;
        QVERIFY2(after >= kSeconds * 1000 - 100, qPrintable(QString::number(after)));

        // Back at the desk: the first input switches idle mode off.
        QTest::qWait(3000); // an idle tick of this build's comes meanwhile
        x.movePointer(300, 200);
        const qint64 back = QDateTime::currentMSecsSinceEpoch();
        const int off = host.waitForLine(disengaged, on + 1, 20000);
        QVERIFY2(off > on, "the idle-off line did not come");
        QVERIFY2(host.records().at(off).ms - back < 2000,
                 qPrintable(QString::number(host.records().at(off).ms - back)));
        // Only the idle tick's lines came between the two, and idle off kept
        // the clock they showed.
        int ticks = 0;
        const QList<TranscriptRecord> seen = host.records();
        for (int i = on + 1; i < off; ++i) {
            const QByteArray &line = seen.at(i).bytes;
            const bool idleLine = line.contains(" is idl\xe8 <font");
            QVERIFY2(idleLine || line.contains("> msg: <font"), line.constData());
            ticks += idleLine ? 1 : 0;
        }
        QVERIFY(ticks >= 1);
        QTRY_COMPARE_WITH_TIMEOUT(setting("lastidle"), QStringLiteral("0:%1").arg(ticks), 5000);
        QCOMPARE(setting("reason"), QStringLiteral("brb"));

        // Left alone again: idle again.
        QVERIFY(host.waitForLine(engaged, off + 1, 20000) > off);

        qInfo("the room saw, from the load lines on:");
        for (const TranscriptRecord &record : host.records())
            qInfo("  %lld  %s", record.ms, qPrintable(hostlink::fromWindows1252(record.bytes)));
        ::kill(pid_t(zorvel.processId()), SIGTERM);
        QVERIFY(zorvel.waitForFinished(30000));
        QCOMPARE(zorvel.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestAutoIdleE2e)
#include "tst_autoidle_e2e.moc"
