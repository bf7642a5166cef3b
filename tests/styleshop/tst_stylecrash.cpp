// Styles applied in a loop by a child process that is killed (SIGKILL) a
// thousand times at random moments: after every kill the settings file reads
// whole, its other keys untouched, and its style is one the applies in order
// could have left, key by key: nothing torn, nothing lost, nothing reordered.
#include "settings/settingsfile.h"
#include "settings/settingsrecord.h"
#include "styleshop/catalogue.h"
#include "tests/testenv.h"

#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using settings::Field;
using styleshop::Style;

constexpr int kKills = 400;
// Kills come within this of the child's start at the least: inside its first
// few styles on a quick disk.
constexpr qint64 kMinWindowUs = 15000;
constexpr qint64 kMaxWindowUs = 200000;

using Values = std::array<QString, 6>; // in the order a style writes them
const std::span<const styleshop::StyleKey> kKeys = styleshop::styleKeys();

QString read(QLatin1String key) {
    return settings::getFromIni(settings::kSection, key, settings::settingsPath());
}

Values fileValues() {
    Values values;
    for (std::size_t i = 0; i < kKeys.size(); ++i)
        values[i] = read(kKeys[i].name);
    return values;
}

// A style's values as a read gives them back once written.
Values readBack(const Style &style) {
    static QHash<int, Values> known;
    if (const auto it = known.constFind(style.number); it != known.constEnd())
        return *it;
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("s.ini"));
    settings::PlainRecord record;
    Values values;
    // By field, in the order of settings::Field.
    const QStringView fields[] = {style.name,  style.fontColour, style.asciiColour,
                                  style.front, style.middle,     style.back};
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        settings::writeToIni(settings::kSection, kKeys[i].name,
                             fields[int(kKeys[i].field)].toString(), file);
        values[i] = settings::getFromIni(settings::kSection, kKeys[i].name, file);
    }
    return known[style.number] = values;
}

// Whether the child, applying the catalogue from entry `first` on, could
// have turned `before` into `after` one key write at a time.
bool reachable(Values state, const Values &after, std::size_t first) {
    const auto styles = styleshop::catalogue();
    for (std::size_t n = 0; n < 4 * styles.size(); ++n) {
        if (state == after)
            return true;
        const Values next = readBack(styles[(first + n) % styles.size()]);
        for (std::size_t i = 0; i < next.size(); ++i) {
            state[i] = next[i];
            if (state == after)
                return true;
        }
    }
    return false;
}

// The time after the child's start within which the kills come: about four
// styles' worth of writes as this machine does them now, so that the kills
// land inside the applies whether the disk is quick or slow, the build plain
// or sanitized, the machine idle or busy.
qint64 killWindowUs() {
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("timing.ini"));
    const auto styles = styleshop::catalogue();
    constexpr int kStyles = 3;
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; n < kStyles; ++n) {
        const Style &style = styles[std::size_t(n)];
        for (const styleshop::StyleKey &key : kKeys)
            settings::writeToIni(settings::kSection, key.name, style.name.toString(), file);
    }
    const qint64 perStyleUs = timer.nsecsElapsed() / 1000 / kStyles;
    return std::clamp(4 * perStyleUs, kMinWindowUs, kMaxWindowUs);
}

[[noreturn]] void applyStylesForever(std::size_t first) {
    settings::PlainRecord record;
    const auto styles = styleshop::catalogue();
    for (std::size_t n = first;; ++n)
        styleshop::applyStyle(styles[n % styles.size()], record);
}

// The file's lines, each ended by CR LF; empty when one is not.
QList<QByteArray> wholeLines(const QByteArray &bytes) {
    if (!bytes.endsWith("\r\n"))
        return {};
    QList<QByteArray> lines = bytes.chopped(2).split('\n');
    for (QByteArray &line : lines) {
        if (!line.endsWith('\r') && &line != &lines.last())
            return {};
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

class TestStyleCrash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killedWhileApplyingStyles();
};

void TestStyleCrash::killedWhileApplyingStyles() {
    TestEnv env;
    settings::ensureSettingsFolder();
    const QString file = settings::settingsPath();
    const auto styles = styleshop::catalogue();
    // A file as the program leaves it: a style, the handle and a reason.
    settings::PlainRecord seed;
    styleshop::applyStyle(styles[0], seed);
    settings::writeToIni(settings::kSection, QStringLiteral("handle"), QStringLiteral("frobble"),
                         file);
    settings::writeToIni(settings::kSection, QStringLiteral("reason"), QStringLiteral("lunch"),
                         file);
    const QList<QByteArray> keys{"[zorvel]", "PRESET",  "PFCOLOR", "PACOLOR", "PMASCII",
                                 "PFASCII",  "PBASCII", "HANDLE",  "REASON"};

    Values before = fileValues();
    const qint64 windowUs = killWindowUs();
    int changed = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const std::size_t first = std::size_t(kill) % styles.size();
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0)
            applyStylesForever(first);
        ::usleep(useconds_t(QRandomGenerator::global()->bounded(windowUs)));
        QCOMPARE(::kill(child, SIGKILL), 0);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));

        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = wholeLines(in.readAll());
        QCOMPARE(lines.size(), keys.size());
        QCOMPARE(lines.first(), keys.first());
        for (qsizetype i = 1; i < lines.size(); ++i)
            QCOMPARE(lines[i].left(lines[i].indexOf('=')), keys[i]);
        // Beside it at most the one copy a killed writer may leave.
        QStringList beside =
            QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY(beside.removeOne(QFileInfo(file).fileName()));
        QVERIFY2(beside.isEmpty() || beside == QStringList{QStringLiteral(".zorvel.ini.new")},
                 qPrintable(beside.join(u' ')));
        QCOMPARE(read(QLatin1String("handle")), QStringLiteral("frobble"));
        QCOMPARE(read(QLatin1String("reason")), QStringLiteral("lunch"));

        const Values after = fileValues();
        QVERIFY2(reachable(before, after, first),
                 qPrintable(QStringLiteral("kill %1 left %2").arg(kill).arg(after[0])));
        changed += after == before ? 0 : 1;
        before = after;
    }
    // The kills caught the child at work, not only before its first write.
    QVERIFY2(changed > kKills / 4, qPrintable(QString::number(changed)));
    // And no half-written copy was left beside it.
    qInfo("%d kills within %lld us of the start, the style changed by %d of them, the file whole "
          "after each",
          kKills, windowUs, changed);
}

QTEST_GUILESS_MAIN(TestStyleCrash)
#include "tst_stylecrash.moc"
