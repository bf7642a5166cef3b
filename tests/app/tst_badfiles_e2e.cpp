// The real zorvel against damaged, huge and unreachable settings files, each
// with its own real chathost: it starts, posts the lines the file gives (the
// empty ones where it gives nothing), keeps running, ends cleanly with its
// closing lines, and leaves the file as it found it.
//
// Run as root, zorvel and chathost run as another user, for whom the
// permission cases mean something.
#include "app/programlines.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"
#include "settings/settingsfile.h"
#include "tests/badfiles.h"
#include "tests/chathostprocess.h"
#include "tests/otheruser.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool setMode(const QString &path, mode_t mode) {
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QList<QByteArray> bytesOf(const QList<TranscriptRecord> &records) {
    QList<QByteArray> out;
    for (const TranscriptRecord &r : records)
        out << r.bytes;
    return out;
}

QByteArray utf16le(const QString &text) {
    QByteArray out("\xFF\xFE");
    for (const QChar c : text)
        out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

// Where the settings file is, or what stands in its place.
enum class Place {
    File,           // an ordinary file with these bytes
    Directory,      // a folder where the file should be
    Unreadable,     // the file, without read permission
    ReadOnlyFolder, // the file (when bytes are given) in a folder nobody may write
};

// A chathost and a zorvel, run as the test's other user when there is one.
class World {
public:
    explicit World(TestEnv &env)
        : m_env(env), m_hostProgram(ChatHostProcess::executable()),
          m_zorvelProgram(QStringLiteral(ZORVEL_EXE)) {}
    ~World() {
        for (QProcess *p : {&m_zorvel, &m_host}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }

    QString socketPath() const { return m_env.runtimeDir() + QStringLiteral("/chathost.sock"); }
    QString transcriptPath() const { return m_env.root() + QStringLiteral("/transcript.txt"); }
    QProcess &zorvel() { return m_zorvel; }
    qint64 hostPid() const { return m_host.processId(); }

    bool startHost(bool asOtherUser) {
        m_host.setProcessChannelMode(QProcess::ForwardedChannels);
        if (asOtherUser)
            otheruser::runAs(m_host);
        m_host.start(m_hostProgram, {QStringLiteral("--transcript"), transcriptPath()});
        return m_host.waitForStarted() &&
               waitFor([this] { return QFile::exists(socketPath()) || !running(m_host); }, 15000) &&
               running(m_host);
    }
    bool startZorvel(bool asOtherUser, const QString &runtimeDir = {}) {
        m_zorvel.setProcessChannelMode(QProcess::ForwardedChannels);
        if (!runtimeDir.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
            m_zorvel.setProcessEnvironment(environment);
        }
        if (asOtherUser)
            otheruser::runAs(m_zorvel);
        m_zorvel.start(m_zorvelProgram, {});
        return m_zorvel.waitForStarted();
    }
    QList<TranscriptRecord> records() const {
        return ChatHostProcess::parseTranscript(fileBytes(transcriptPath()));
    }
    QList<TranscriptRecord> waitForRecords(int count, int ms) const {
        waitFor([&] { return records().size() >= count; }, ms);
        return records();
    }
    static bool running(const QProcess &p) { return p.state() == QProcess::Running; }

    // Runs copies of the programs from a folder of the test's own, which
    // the other user can reach wherever the build lies. Call before the
    // test's folders are given away.
    bool useReachableCopies() {
        const QString folder = m_env.root() + QStringLiteral("/programs");
        m_hostProgram = otheruser::runnableCopy(m_hostProgram, folder);
        m_zorvelProgram = otheruser::runnableCopy(m_zorvelProgram, folder);
        return !m_hostProgram.isEmpty() && !m_zorvelProgram.isEmpty();
    }

private:
    TestEnv &m_env;
    QString m_hostProgram;
    QString m_zorvelProgram;
    QProcess m_host;
    QProcess m_zorvel;
};

} // namespace

Q_DECLARE_METATYPE(Place)

class TestBadFilesE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startsPostsAndEndsOnABadFile_data();
    void startsPostsAndEndsOnABadFile();
    void anotherUsersZorvelPostsNothing();
};

void TestBadFilesE2E::startsPostsAndEndsOnABadFile_data() {
    QTest::addColumn<Place>("place");
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    // The style name the reader must give; the reference vectors fix it for
    // the byte-order marks.
    QTest::addColumn<QString>("style");

    QTest::newRow("binary junk") << Place::File << badfiles::junk(64 * 1024) << QString();
    QTest::newRow("UTF-8 byte-order mark")
        << Place::File
        << QByteArray("\xEF\xBB\xBF[zorvel]\r\nPRESET=d\xC3\xA9"
                      "f\r\nPFCOLOR=112233\r\nPMASCII=\xC2\xB7\r\nHANDLE=s\xC3\xB8mebody\r\n")
        << QStringLiteral("déf");
    QTest::newRow("UTF-16 byte-order mark")
        << Place::File
        << utf16le(QStringLiteral("[zorvel]\r\nPRESET=defàùlt\r\nPACOLOR=445566\r\n"
                                  "PBASCII=/¯\\\r\nHANDLE=frobble\r\n"))
        << QStringLiteral("defàùlt");
    QTest::newRow("CR-only line ends")
        << Place::File << badfiles::styleSection("\r") << QStringLiteral("st\u00fdle");
    QTest::newRow("100,000 sections")
        << Place::File << badfiles::manySections(100000) << QStringLiteral("st\u00fdle");
    QTest::newRow("50 MB file") << Place::File << badfiles::bigFile(50 << 20)
                                << QStringLiteral("st\u00fdle");
    QTest::newRow("directory in its place") << Place::Directory << QByteArray() << QString();
    QTest::newRow("no read permission")
        << Place::Unreadable << badfiles::styleSection() << QString();
    QTest::newRow("read-only folder, no file")
        << Place::ReadOnlyFolder << QByteArray() << QString();
    QTest::newRow("read-only folder with the file")
        << Place::ReadOnlyFolder << badfiles::styleSection() << QStringLiteral("st\u00fdle");
}

void TestBadFilesE2E::startsPostsAndEndsOnABadFile() {
    QFETCH(Place, place);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, style);
    TestEnv env;
    const QString file = env.settingsFile();
    const QString folder = QFileInfo(file).absolutePath();
    QVERIFY(QDir().mkpath(folder));
    if (place == Place::Directory)
        QVERIFY(QDir().mkpath(file));
    else if (!bytes.isNull())
        QVERIFY(writeBytes(file, bytes));
    World world(env);
    if (otheruser::switching()) {
        QVERIFY(world.useReachableCopies());
        QVERIFY(otheruser::giveAway(env.root()));
        QVERIFY(setMode(env.root(), 0755));
    }
    if (place == Place::Unreadable)
        QVERIFY(setMode(file, 0200));
    if (place == Place::ReadOnlyFolder)
        QVERIFY(setMode(folder, 0555));

    // What the program must post: the lines built from what the reader gives
    // for this file, or from nothing where zorvel cannot read it.
    settings::PlainRecord record;
    QString handle;
    if (place != Place::Unreadable) {
        settings::reloadSettings(record);
        handle = settings::getFromIni(settings::kSection, QStringLiteral("handle"), file);
    }
    QCOMPARE(record.caption(settings::Field::StyleName), style);
    const QString shownStyle = record.caption(settings::Field::StyleName);
    const QList<QByteArray> loadLines{
        platform::toCp1252(app::loadLine(record)),
        platform::toCp1252(app::loadIdentityLine(record, handle, shownStyle))};
    const QList<QByteArray> closingLines{
        platform::toCp1252(app::unloadLine(record)),
        platform::toCp1252(app::unloadIdentityLine(record, handle, shownStyle))};

    QVERIFY(world.startHost(otheruser::switching()));
    QVERIFY(world.startZorvel(otheruser::switching()));
    QCOMPARE(bytesOf(world.waitForRecords(2, 60000)), loadLines);
    QVERIFY(World::running(world.zorvel()));

    ::kill(pid_t(world.zorvel().processId()), SIGTERM);
    QVERIFY(world.zorvel().waitForFinished(60000));
    QCOMPARE(world.zorvel().exitStatus(), QProcess::NormalExit);
    QCOMPARE(world.zorvel().exitCode(), 0);
    QCOMPARE(bytesOf(world.records()), loadLines + closingLines);

    // Nothing was written over what stands there, and nothing made where
    // nothing could be.
    if (place == Place::Directory)
        QVERIFY(QFileInfo(file).isDir());
    else if (bytes.isNull())
        QVERIFY(!QFile::exists(file));
    else
        QVERIFY(fileBytes(file) == bytes);
    setMode(folder, 0755);
}

// chathost checks who connects: a zorvel of another user reaches no room,
// and runs and ends as if none were open.
void TestBadFilesE2E::anotherUsersZorvelPostsNothing() {
    if (!otheruser::switching())
        QSKIP("needs root, to run zorvel as another user");
    TestEnv env;
    World world(env);
    QVERIFY(world.useReachableCopies());
    QVERIFY(world.startHost(false));

    // Open the way to the socket for the other user, so that only chathost's
    // own check is left. Its runtime folder must be its own, so the socket
    // is reached there through a link; its settings folder is its own too.
    QVERIFY(setMode(env.root(), 0755));
    QVERIFY(setMode(env.runtimeDir(), 0711));
    QVERIFY(setMode(world.socketPath(), 0666));
    const QString otherRuntime = env.root() + QStringLiteral("/other-runtime");
    QVERIFY(QDir().mkpath(otherRuntime));
    QVERIFY(QFile::link(world.socketPath(), otherRuntime + QStringLiteral("/chathost.sock")));
    QVERIFY(setMode(otherRuntime, 0700));
    QVERIFY(otheruser::giveAway(otherRuntime));
    // The way is open: through the link chathost serves its own user.
    QCOMPARE(platform::UnixWindowSystem(otherRuntime + QStringLiteral("/chathost.sock"),
                                        std::chrono::seconds(3))
                 .hostPid(),
             world.hostPid());
    QVERIFY(otheruser::giveAway(env.configDir()));
    QVERIFY(otheruser::giveAway(env.homeDir()));

    QVERIFY(world.startZorvel(true, otherRuntime));
    // Its load is done once it has written its defaults and counted itself.
    const QString counter = env.configDir() + QStringLiteral("/zorvel/zorvel.conf");
    QVERIFY(waitFor([&] { return fileBytes(counter).contains("stunt=1"); }, 30000));
    QVERIFY(QFile::exists(env.settingsFile()));
    QTest::qWait(1500); // the second load line would follow within that
    QVERIFY(World::running(world.zorvel()));

    ::kill(pid_t(world.zorvel().processId()), SIGTERM);
    QVERIFY(world.zorvel().waitForFinished(30000));
    QCOMPARE(world.zorvel().exitStatus(), QProcess::NormalExit);
    QCOMPARE(world.zorvel().exitCode(), 0);
    QCOMPARE(world.records().size(), 0);
}

QTEST_GUILESS_MAIN(TestBadFilesE2E)
#include "tst_badfiles_e2e.moc"
