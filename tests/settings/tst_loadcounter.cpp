// The load counter in the per-user store.

#include "settings/settingsfile.h"
#include "tests/testenv.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Where Qt's native per-user format keeps application "zorvel" of organisation "zorvel".
QString counterFile(const TestEnv &env) {
    return env.configDir() + QStringLiteral("/zorvel/zorvel.conf");
}

// What Qt's own reader of its native format finds there. It reads a fresh
// copy: QSettings keeps a file it has read and can miss a change made within
// the same tick of the file clock.
QString storedCount(const TestEnv &env) {
    QTemporaryDir fresh;
    const QString copy = fresh.filePath(QStringLiteral("count.conf"));
    if (!QFile::copy(counterFile(env), copy))
        return {};
    return QSettings(copy, QSettings::IniFormat).value(QStringLiteral("Count/stunt")).toString();
}

} // namespace

class TestLoadCounter : public QObject {
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void successiveLoads();
    void counterIsNotInSettingsFile();
};

void TestLoadCounter::counts_data() {
    QTest::addColumn<QString>("before"); // empty: nothing stored
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("label");

    QTest::newRow("first load") << ""
                                << "1" << false << "";
    QTest::newRow("7 becomes 8") << "7"
                                 << "8" << true << "7";
    QTest::newRow("0 becomes 1") << "0"
                                 << "1" << true << "0";
    QTest::newRow("99 becomes 100") << "99"
                                    << "100" << true << "99";
    QTest::newRow("leading zeros") << "007"
                                   << "8" << true << "007";
    QTest::newRow("text starts again at 1") << "abc"
                                            << "1" << true << "abc";
    QTest::newRow("digits then text") << "12abc"
                                      << "1" << true << "12abc";
    QTest::newRow("negative number") << "-3"
                                     << "1" << true << "-3";
    QTest::newRow("too large to count") << "99999999999999999999999"
                                        << "1" << true << "99999999999999999999999";
}

void TestLoadCounter::counts() {
    TestEnv env;
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(bool, shown);
    QFETCH(QString, label);
    if (!before.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(counterFile(env)).absolutePath()));
        QFile out(counterFile(env));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Count]\nstunt=" + before.toUtf8() + "\n");
    }
    const std::optional<QString> result = settings::countLoad();
    QCOMPARE(result.has_value(), shown);
    if (shown)
        QCOMPARE(*result, label);
    QCOMPARE(storedCount(env), after);
}

void TestLoadCounter::successiveLoads() {
    TestEnv env;
    QCOMPARE(settings::countLoad(), std::nullopt);
    for (int load = 1; load <= 3; ++load) {
        QCOMPARE(settings::countLoad(), std::optional<QString>(QString::number(load)));
        QCOMPARE(storedCount(env), QString::number(load + 1));
    }
}

void TestLoadCounter::counterIsNotInSettingsFile() {
    TestEnv env;
    settings::ensureSettingsFolder();
    settings::writeToIni(QStringLiteral("zorvel"), QStringLiteral("handle"),
                         QStringLiteral("frobble"), settings::settingsPath());
    QFile ini(settings::settingsPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray iniBefore = ini.readAll();
    ini.close();

    settings::countLoad();
    QVERIFY(QFileInfo(counterFile(env)).isFile());
    QVERIFY(QFileInfo(counterFile(env)).canonicalFilePath() !=
            QFileInfo(settings::settingsPath()).canonicalFilePath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), iniBefore);
    QCOMPARE(settings::getFromIni(QStringLiteral("Count"), QStringLiteral("stunt"),
                                  settings::settingsPath()),
             QString());
}

QTEST_GUILESS_MAIN(TestLoadCounter)
#include "tst_loadcounter.moc"
