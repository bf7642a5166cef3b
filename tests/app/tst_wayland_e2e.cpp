// zorvel and chathost on a Wayland desktop: a real compositor (weston, its
// headless backend, with Xwayland) started here. Where an X server answers,
// both run through it, and zorvel's strip stands at its place; where none
// does, both run on Wayland. Either way the lines reach the room and nothing
// is said about the platform. Run it alone with `ctest -L wayland`.
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Where zorvel's strip first stands (its twips at 15 per pixel), and its size.
const QPoint kStripPlace(6810 / 15, 3495 / 15);
const QSize kStripSize(615 / 15, 225 / 15);

QString readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}

// Asks a process to end (TERM), then ends it (KILL) if it has not in 10 s.
void endProcess(QProcess &process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// weston on its headless backend with Xwayland, in the test's runtime folder
// under a socket name of its own. It says which X display Xwayland serves in
// its log, as soon as it listens; Xwayland itself starts at the first X client.
class Weston {
public:
    ~Weston() { stop(); }

    // Empty on success, else what went wrong.
    QString start(const QString &folder) {
        // Xwayland's socket goes there, and a machine without an X server
        // yet may lack the folder: made as the X servers make it.
        const QByteArray sockets = "/tmp/.X11-unix";
        if (::mkdir(sockets.constData(), 01777) == 0)
            ::chmod(sockets.constData(), 01777);
        m_socket = u"zorvel-test-%1"_s.arg(QCoreApplication::applicationPid());
        m_log = folder + u"/weston.log"_s;
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(folder + u"/weston.out"_s);
        m_process.start(u"weston"_s,
                        {u"--backend=headless-backend.so"_s, u"--use-pixman"_s, u"--xwayland"_s,
                         u"--no-config"_s, u"--idle-time=0"_s, u"--width=1280"_s, u"--height=800"_s,
                         u"--socket="_s + m_socket, u"--log="_s + m_log});
        if (!m_process.waitForStarted(10000))
            return u"weston did not start: "_s + m_process.errorString();
        static const QRegularExpression listening(u"xserver listening on display (:\\d+)"_s);
        const bool up = waitFor(
            [&] {
                const auto match = listening.match(readFile(m_log));
                if (match.hasMatch())
                    m_display = match.captured(1);
                return match.hasMatch() || m_process.state() != QProcess::Running;
            },
            20000);
        if (!up || m_display.isEmpty())
            return u"weston gave no X display within 20 s:\n"_s + readFile(m_log);
        return {};
    }
    void stop() { endProcess(m_process); }
    QString socket() const { return m_socket; }
    QString display() const { return m_display; }
    QString log() const { return readFile(m_log); }

private:
    QProcess m_process;
    QString m_socket;
    QString m_log;
    QString m_display;
};

// A program of ours run as a desktop's launcher would: the environment given,
// standard error kept apart. Ended (TERM, then KILL) when it goes.
class Program {
public:
    Program(const QString &executable, const QStringList &arguments,
            const QProcessEnvironment &environment, const QString &folder, const QString &name)
        : m_err(folder + u"/"_s + name + u".err"_s) {
        m_process.setProcessEnvironment(environment);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(m_err);
        m_process.start(executable, arguments);
        m_process.waitForStarted(10000);
    }
    ~Program() { end(); }
    void end() { endProcess(m_process); }
    bool running() const { return m_process.state() == QProcess::Running; }
    qint64 pid() const { return m_process.processId(); }
    QString err() const { return readFile(m_err); }
    // The window system plugin the process loaded: "xcb", "wayland-generic", ...
    QString platform() const {
        static const QRegularExpression plugin(u"/platforms/libq([\\w-]+)\\.so"_s);
        const auto match = plugin.match(readFile(u"/proc/%1/maps"_s.arg(pid())));
        return match.hasMatch() ? match.captured(1) : QString();
    }

private:
    QString m_err;
    QProcess m_process;
};

// The absolute place of zorvel's strip on an X display, read with xwininfo.
std::optional<QPoint> stripPlaceOn(const QString &display) {
    QProcess xwininfo;
    xwininfo.start(u"xwininfo"_s, {u"-display"_s, display, u"-root"_s, u"-tree"_s});
    if (!xwininfo.waitForFinished(10000))
        return std::nullopt;
    // 0x600006 "zorvel": ("zorvel" "zorvel")  41x15+32+32  +454+233
    static const QRegularExpression line(u"\"zorvel\": \\(\"zorvel\" \"zorvel\"\\)\\s+(\\d+)x(\\d+)"
                                         "[+-]\\d+[+-]\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)"_s);
    auto matches = line.globalMatch(QString::fromLocal8Bit(xwininfo.readAllStandardOutput()));
    while (matches.hasNext()) {
        const auto match = matches.next();
        if (QSize(match.captured(1).toInt(), match.captured(2).toInt()) == kStripSize)
            return QPoint(match.captured(3).toInt(), match.captured(4).toInt());
    }
    return std::nullopt;
}

// A display number that nothing serves.
QString deadDisplay() {
    int n = 300;
    while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(n)) ||
           QFile::exists(u"/tmp/.X%1-lock"_s.arg(n)))
        ++n;
    return u":%1"_s.arg(n);
}

} // namespace

class TestWaylandE2E : public QObject {
    Q_OBJECT
    TestEnv m_env;
    Weston m_weston;

private Q_SLOTS:
    void initTestCase() {
        for (const QString &tool : {u"weston"_s, u"Xwayland"_s, u"xwininfo"_s})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QFAIL(qPrintable(tool + u" is needed: scripts/setup.sh installs it"_s));
        const QString error = m_weston.start(m_env.root());
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void cleanupTestCase() { m_weston.stop(); }

    void bothRunAndSpeak_data() {
        QTest::addColumn<bool>("x11");         // DISPLAY names Xwayland's display
        QTest::addColumn<QString>("display");  // else DISPLAY is this (empty: unset)
        QTest::addColumn<QStringList>("more"); // further NAME=VALUE
        QTest::addColumn<QString>("plugin");   // the plugin both must load

        QTest::newRow("Wayland desktop with Xwayland")
            << true << QString() << QStringList{} << u"xcb"_s;
        QTest::newRow("the same, as GNOME's session says it")
            << true << QString()
            << QStringList{u"XDG_SESSION_TYPE=wayland"_s, u"XDG_CURRENT_DESKTOP=GNOME"_s}
            << u"xcb"_s;
        QTest::newRow("Wayland alone")
            << false << QString() << QStringList{} << u"wayland-generic"_s;
        QTest::newRow("a stale DISPLAY beside Wayland")
            << false << deadDisplay() << QStringList{} << u"wayland-generic"_s;
        QTest::newRow("QT_QPA_PLATFORM=wayland chosen by the user")
            << true << QString() << QStringList{u"QT_QPA_PLATFORM=wayland"_s}
            << u"wayland-generic"_s;
    }
    void bothRunAndSpeak() {
        QFETCH(bool, x11);
        QFETCH(QString, display);
        QFETCH(QStringList, more);
        QFETCH(QString, plugin);

        QTemporaryDir folder;
        QDir(m_env.configDir()).removeRecursively();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                 "XDG_SESSION_TYPE", "XDG_CURRENT_DESKTOP"})
            environment.remove(QLatin1String(name));
        environment.insert(u"WAYLAND_DISPLAY"_s, m_weston.socket());
        if (x11)
            display = m_weston.display();
        if (!display.isEmpty())
            environment.insert(u"DISPLAY"_s, display);
        for (const QString &pair : more)
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        // weston's headless backend has no seat, and a Qt 6.4 line edit on
        // Wayland ends the program at the first key when there is none; a
        // desktop always has one. Plain composing keeps chathost's entry box
        // out of Qt's Wayland text input.
        environment.insert(u"QT_IM_MODULE"_s, u"compose"_s);
        // In the sanitizer suite: whole stacks, so that a leak report names the
        // system library that allocated, which the suppressions go by.
        if (environment.contains(u"ASAN_OPTIONS"_s))
            environment.insert(u"ASAN_OPTIONS"_s, environment.value(u"ASAN_OPTIONS"_s) +
                                                      u":fast_unwind_on_malloc=0"_s);

        const QString transcript = folder.filePath(u"transcript.txt"_s);
        Program chathost(ChatHostProcess::executable(), {u"--transcript"_s, transcript},
                         environment, folder.path(), u"chathost"_s);
        const QString socket = chatwire::socketPath();
        QVERIFY2(waitFor(
                     [&] {
                         return !chathost.running() ||
                                platform::UnixWindowSystem(socket, std::chrono::milliseconds(200))
                                        .hostPid() == chathost.pid();
                     },
                     20000) &&
                     chathost.running(),
                 qPrintable(chathost.err()));

        Program zorvel(QStringLiteral(ZORVEL_EXE), {}, environment, folder.path(), u"zorvel"_s);
        const auto records = [&] {
            return ChatHostProcess::parseTranscript(readFile(transcript).toLocal8Bit());
        };
        QVERIFY2(waitFor([&] { return records().size() >= 2 || !zorvel.running(); }, 20000) &&
                     records().size() == 2,
                 qPrintable(zorvel.err() + chathost.err()));
        QVERIFY(zorvel.running());
        QVERIFY(chathost.running());

        QCOMPARE(zorvel.platform(), plugin);
        QCOMPARE(chathost.platform(), plugin);
        if (plugin == u"xcb"_s) {
            // Xwayland's window manager maps it first in a place of its own,
            // then moves it where zorvel asks.
            std::optional<QPoint> place;
            waitFor([&] { return (place = stripPlaceOn(m_weston.display())) == kStripPlace; },
                    10000);
            QVERIFY2(place, "zorvel's strip is not on Xwayland's display");
            QCOMPARE(*place, kStripPlace);
        }

        // It closes as it does anywhere: its closing lines reach the room.
        zorvel.end();
        QVERIFY(waitFor([&] { return records().size() >= 4; }, 10000));
        chathost.end();

        // Nothing about the window system on either's standard error, beside
        // chathost's one line that says where it serves.
        static const QRegularExpression platformWords(
            u"qt\\.qpa|platform|wayland|xcb|display|XDG_SESSION"_s,
            QRegularExpression::CaseInsensitiveOption);
        for (const Program *program : {&zorvel, &chathost}) {
            for (const QString &line : program->err().split(u'\n', Qt::SkipEmptyParts))
                QVERIFY2(line.startsWith(u"chathost: serving "_s) ||
                             !platformWords.match(line).hasMatch(),
                         qPrintable(line));
        }
    }
};

QTEST_GUILESS_MAIN(TestWaylandE2E)
#include "tst_wayland_e2e.moc"
