// Writers killed at random moments never leave a torn file nor lose a write
// they reported done, and concurrent writers never lose each other's keys.

#include "platform/profile.h"
#include "tests/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kRounds = 16;
constexpr int kEndless = 1000000;
constexpr int kMinWindowMs = 60;
constexpr int kMaxWindowMs = 3000;

// The value the writer stores under key index `index` (see profilewriter.cpp).
QByteArray expectedValue(int index) {
    return "v" + QByteArray::number(index) + QByteArray(64, 'x');
}

QByteArray readValue(const QString &file, const QByteArray &key) {
    QByteArray buffer(750, '\0');
    const int length = platform::getPrivateProfileString("zorvel", key.constData(), "",
                                                         buffer.data(), int(buffer.size()), file);
    return buffer.left(length);
}

std::unique_ptr<QProcess> startWriter(const QString &file, const QByteArray &prefix, int count) {
    auto writer = std::make_unique<QProcess>();
    writer->start(QStringLiteral(PROFILE_WRITER),
                  {file, QString::fromLatin1(prefix), QString::number(count)});
    return writer;
}

// The time a writer takes from its start to its third write here: the kills
// come at random moments within about twice that, so that they land among
// its first writes whether the disk is quick or slow, the build plain or
// sanitized, the machine idle or busy.
int killWindowMs(const QString &folder) {
    QElapsedTimer timer;
    timer.start();
    const auto writer = startWriter(folder + QStringLiteral("/timing.ini"), "T", 3);
    if (!writer->waitForFinished(30000))
        return kMinWindowMs;
    return std::clamp(int(2 * timer.elapsed()), kMinWindowMs, kMaxWindowMs);
}

// The indices the writer reported done: whole lines only.
QList<int> reported(QProcess &writer) {
    QList<int> done;
    const QByteArray out = writer.readAllStandardOutput();
    for (const QByteArray &line : out.left(out.lastIndexOf('\n') + 1).split('\n')) {
        if (!line.isEmpty())
            done.append(line.toInt());
    }
    return done;
}

} // namespace

class TestProfileCrash : public QObject {
    Q_OBJECT

private slots:
    void survivesKills_data();
    void survivesKills();
    void concurrentWriters_data();
    void concurrentWriters();
};

void TestProfileCrash::survivesKills_data() {
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("kept"); // how every later version of the file starts

    QTest::newRow("new file") << false << QByteArray() << QByteArray("[zorvel]\r\n");
    const QByteArray sections("; settings\r\n[other]\r\nk=v\r\n\r\n[zorvel]\r\nfirst=1\r\n");
    QTest::newRow("file with other sections") << true << sections << sections;
    const QByteArray utf8("\xEF\xBB\xBF[zorvel]\r\nfirst=d\xC3\xA9"
                          "f\r\n");
    QTest::newRow("UTF-8 file") << true << utf8 << utf8;
}

void TestProfileCrash::survivesKills() {
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, kept);
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));
    if (fileExists) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(before);
    }

    // Every key a writer reported done, by round and index.
    QList<QList<int>> done;
    int killedAfterWrites = 0;
    const int windowMs = killWindowMs(folder.path());
    static const QRegularExpression line(QStringLiteral("^R(\\d+)K(\\d+)=v(\\d+)x{64}$"));
    for (int round = 0; round < kRounds; ++round) {
        const QByteArray prefix = "R" + QByteArray::number(round) + "K";
        const auto writer = startWriter(file, prefix, kEndless);
        QVERIFY(writer->waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(5, windowMs));
        writer->kill();
        QVERIFY(writer->waitForFinished());
        QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
        done.append(reported(*writer));
        killedAfterWrites += done.last().isEmpty() ? 0 : 1;

        QFile in(file);
        if (!in.exists()) {
            QVERIFY(!fileExists);
            for (const QList<int> &indices : std::as_const(done))
                QVERIFY2(indices.isEmpty(), "a write was reported but there is no file");
            continue;
        }
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray bytes = in.readAll();
        QVERIFY2(bytes.startsWith(kept), bytes.left(200).constData());
        QVERIFY2(bytes.endsWith("\r\n"), "the last line is torn");
        QList<QByteArray> lines = bytes.mid(kept.size()).split('\n');
        lines.removeLast();
        QSet<QByteArray> keys;
        for (QByteArray text : std::as_const(lines)) {
            QVERIFY2(text.endsWith('\r'), text.constData());
            text.chop(1);
            const auto match = line.match(QString::fromLatin1(text));
            QVERIFY2(match.hasMatch(), text.constData());
            QCOMPARE(match.captured(2), match.captured(3));
            QVERIFY2(!keys.contains(text), "a key stands twice");
            keys.insert(text);
        }
        for (int r = 0; r < done.size(); ++r) {
            for (const int index : std::as_const(done[r])) {
                const QByteArray key =
                    "R" + QByteArray::number(r) + "K" + QByteArray::number(index);
                QCOMPARE(readValue(file, key), expectedValue(index));
            }
        }
    }
    // The kills must have caught writers at work, not only before their first write.
    QVERIFY2(killedAfterWrites > 0, qPrintable(QStringLiteral("kills within %1 ms").arg(windowMs)));
}

void TestProfileCrash::concurrentWriters_data() {
    QTest::addColumn<int>("writers");
    QTest::addColumn<int>("keysEach");
    QTest::newRow("two writers") << 2 << 60;
    QTest::newRow("four writers") << 4 << 30;
}

void TestProfileCrash::concurrentWriters() {
    QFETCH(int, writers);
    QFETCH(int, keysEach);
    TestEnv env;
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));

    std::vector<std::unique_ptr<QProcess>> children;
    for (int w = 0; w < writers; ++w)
        children.push_back(startWriter(file, "W" + QByteArray::number(w) + "K", keysEach));
    for (int w = 0; w < writers; ++w) {
        QProcess &child = *children[std::size_t(w)];
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(reported(child).size(), keysEach);
    }

    for (int w = 0; w < writers; ++w) {
        for (int i = 0; i < keysEach; ++i) {
            const QByteArray key = "W" + QByteArray::number(w) + "K" + QByteArray::number(i);
            QCOMPARE(readValue(file, key), expectedValue(i));
        }
    }
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll().count("\r\n"), writers * keysEach + 1);
}

QTEST_GUILESS_MAIN(TestProfileCrash)
#include "tst_profilecrash.moc"
