// The program's writes where the disk refuses them, each made by a child
// process: a file size limit just below the size of the file the write makes
// (every write past it fails with EFBIG), a settings folder nobody may write
// in, and, run as root, a real file system that is full. A key write, a style
// apply (six writes), a handle edit and the load count: afterwards every file
// is byte for byte as it was, no copy is left beside it, and every failure
// was reported.
#include "tests/otheruser.h"
#include "tests/testenv.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Fault { SizeLimit, ReadOnlyFolder, FullDisk };

// A style of long values: each write of a shop style then leaves a file no
// larger than the one before, so a limit below the last is below them all.
const QByteArray kLong(40, 'x');
const QByteArray kSettings = "[zorvel]\r\nPRESET=" + kLong + "\r\nPFCOLOR=" + kLong +
                             "\r\nPACOLOR=" + kLong + "\r\nPMASCII=" + kLong +
                             "\r\nPFASCII=" + kLong + "\r\nPBASCII=" + kLong +
                             "\r\nHANDLE=frobble\r\nREASON=lunch\r\n";
const QByteArray kCounter = "[Count]\nstunt=7\n";

// The files of a folder, hidden ones too, with their bytes.
using Files = QMap<QString, QByteArray>;

Files filesIn(const QString &folder) {
    Files files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        QFile file(dir.filePath(name));
        files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The settings folder under a configuration folder, with its two files.
QString prepareFolder(const QString &configDir) {
    const QString folder = configDir + QStringLiteral("/zorvel");
    if (!QDir().mkpath(folder) || !writeFile(folder + QStringLiteral("/zorvel.ini"), kSettings) ||
        !writeFile(folder + QStringLiteral("/zorvel.conf"), kCounter))
        return {};
    return folder;
}

struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QByteArray out;
    QList<QByteArray> reports; // the program's lines about unsaved settings
};

// Runs the action in a child on the settings of `configDir`: with files
// limited to `sizeLimit` bytes (0: no limit), as the other user if asked.
Outcome runAction(const QString &action, const QString &configDir, rlim_t sizeLimit, bool otherUser,
                  const QString &program = QStringLiteral(SETTINGS_ACTION)) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir);
    child.setProcessEnvironment(environment);
    child.setChildProcessModifier([sizeLimit, otherUser] {
        // Past the limit a write fails with EFBIG, once the signal that
        // would end the process is ignored; both outlive the exec.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        if (sizeLimit > 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(125);
        if (otherUser && (::setgroups(0, nullptr) != 0 || ::setgid(otheruser::kGroup) != 0 ||
                          ::setuid(otheruser::kUser) != 0))
            ::_exit(126);
    });
    child.start(program, {action});
    Outcome outcome;
    if (!child.waitForFinished(60000)) {
        child.kill();
        child.waitForFinished();
        return outcome;
    }
    outcome.status = child.exitStatus();
    outcome.code = child.exitCode();
    outcome.out = child.readAllStandardOutput().trimmed();
    for (const QByteArray &line : child.readAllStandardError().split('\n'))
        if (line.startsWith("zorvel: "))
            outcome.reports << line;
    return outcome;
}

// A small tmpfs over a folder for the life of the object, then gone.
class SmallDisk {
public:
    explicit SmallDisk(const QString &at) : m_at(QFile::encodeName(at)) {
        if (::mount("tmpfs", m_at.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0)
            m_mounted = true;
        else
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~SmallDisk() {
        if (m_mounted)
            ::umount2(m_at.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString error() const { return m_error; }
    // Takes what room is left; true once a write found none.
    bool fill() {
        const QByteArray path = m_at + "/filler";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        bool full = false;
        for (int i = 0; i < 1024 && !full; ++i)
            full = ::write(fd, block.constData(), std::size_t(block.size())) < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }

private:
    QByteArray m_at;
    bool m_mounted = false;
    QString m_error;
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestFailedWrites : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void failedWriteChangesNothing_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("written"); // the file the action writes
        QTest::addColumn<int>("reports");     // its lines on standard error
        QTest::addColumn<Fault>("fault");
        const struct {
            const char *name;
            const char *action;
            const char *written;
            int reports;
        } actions[] = {
            {"key write", "key", "zorvel.ini", 0}, // reported by the function's result
            {"style apply", "style", "zorvel.ini", 6},
            {"handle edit", "handle", "zorvel.ini", 1},
            {"load count", "count", "zorvel.conf", 1},
        };
        const struct {
            const char *name;
            Fault fault;
        } faults[] = {{"size limit", Fault::SizeLimit},
                      {"read-only folder", Fault::ReadOnlyFolder},
                      {"full disk", Fault::FullDisk}};
        for (const auto &a : actions)
            for (const auto &f : faults)
                QTest::addRow("%s, %s", a.name, f.name)
                    << QString::fromLatin1(a.action) << QString::fromLatin1(a.written) << a.reports
                    << f.fault;
    }
    void failedWriteChangesNothing() {
        QFETCH(QString, action);
        QFETCH(QString, written);
        QFETCH(int, reports);
        QFETCH(Fault, fault);
        if (fault == Fault::FullDisk && ::geteuid() != 0)
            QSKIP("mounting a small tmpfs needs root; the size limit rows stand in for it");

        TestEnv env;
        std::unique_ptr<SmallDisk> disk;
        if (fault == Fault::FullDisk) {
            disk = std::make_unique<SmallDisk>(env.configDir());
            if (!disk->isMounted())
                QSKIP(
                    qPrintable(QStringLiteral("no tmpfs could be mounted here: ") + disk->error()));
        }
        const QString folder = prepareFolder(env.configDir());
        QVERIFY(!folder.isEmpty());

        // The same action where nothing stops it: it writes, and the file it
        // makes has this size.
        QTemporaryDir scratch;
        const QString scratchFolder = prepareFolder(scratch.path());
        QVERIFY(!scratchFolder.isEmpty());
        const Outcome unhindered = runAction(action, scratch.path(), 0, false);
        QCOMPARE(unhindered.code, 0);
        QCOMPARE(unhindered.reports, QList<QByteArray>());
        const QByteArray made = filesIn(scratchFolder).value(written);
        QVERIFY(made != filesIn(folder).value(written));

        rlim_t limit = 0;
        // Root writes in any folder: the child runs as another user then,
        // from a copy that user reaches wherever the build lies.
        const bool otherUser = fault == Fault::ReadOnlyFolder && otheruser::switching();
        QString program = QStringLiteral(SETTINGS_ACTION);
        switch (fault) {
        case Fault::SizeLimit:
            limit = rlim_t(made.size() - 1);
            break;
        case Fault::ReadOnlyFolder:
            if (otherUser) {
                program =
                    otheruser::runnableCopy(program, env.root() + QStringLiteral("/programs"));
                QVERIFY(!program.isEmpty());
                QVERIFY(otheruser::giveAway(env.root()));
            }
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
            break;
        case Fault::FullDisk:
            QVERIFY2(disk->fill(), "the tmpfs did not fill up");
            break;
        }

        const Files before = filesIn(folder);
        const Outcome outcome = runAction(action, env.configDir(), limit, otherUser, program);
        ::chmod(QFile::encodeName(folder).constData(), 0755);

        QCOMPARE(outcome.status, QProcess::NormalExit);
        QCOMPARE(outcome.code, 0);
        // Byte for byte as before, and no copy left beside the files.
        QCOMPARE(filesIn(folder), before);
        if (action == QLatin1String("key")) {
            const int code = fault == Fault::ReadOnlyFolder ? 5 : 112; // access denied, disk full
            QCOMPARE(outcome.out, "0 " + QByteArray::number(code));
        }
        QCOMPARE(outcome.reports.size(), reports);
        for (const QByteArray &report : outcome.reports)
            QVERIFY2(report.contains(" was not saved: ") && report.contains(".new: "),
                     report.constData());
    }
};

QTEST_GUILESS_MAIN(TestFailedWrites)
#include "tst_failedwrites.moc"
