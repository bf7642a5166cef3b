// Every recorded case of the profile reader and writer, byte for byte.

#include "platform/profile.h"
#include "tests/testenv.h"
#include "tests/vectorfields.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

constexpr char kFileName[] = "zorvel.ini";
// Bytes past the caller's buffer that no call may touch.
constexpr int kGuard = 4;
constexpr char kFill = char(0xCC);

using vectorfields::bytesOf;
using vectorfields::pointerTo;

} // namespace

class TestProfileVectors : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void vectors_data();
    void vectors();

private:
    void runGet(const QJsonObject &step, const QString &file);
    void runWrite(const QJsonObject &step, const QString &folder, const QString &file);

    TestEnv m_env;
    QJsonArray m_cases;
};

void TestProfileVectors::initTestCase() {
    QFile source(QStringLiteral(ZORVEL_INI_VECTORS));
    if (!source.open(QIODevice::ReadOnly))
        QFAIL(qPrintable(QStringLiteral("cannot read the vectors at %1").arg(source.fileName())));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(source.readAll(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    m_cases = document.object().value(QStringLiteral("cases")).toArray();
    QVERIFY(!m_cases.isEmpty());
}

void TestProfileVectors::vectors_data() {
    QTest::addColumn<QJsonObject>("testCase");
    for (const QJsonValue &entry : std::as_const(m_cases)) {
        const QJsonObject testCase = entry.toObject();
        QTest::newRow(qPrintable(testCase.value(QStringLiteral("id")).toString())) << testCase;
    }
}

void TestProfileVectors::vectors() {
    QFETCH(QJsonObject, testCase);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString file = folder.filePath(QLatin1String(kFileName));
    if (const auto before = bytesOf(testCase.value(QStringLiteral("file_before_hex")))) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(*before), before->size());
    }

    const QJsonArray steps = testCase.value(QStringLiteral("steps")).toArray();
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QJsonObject step = steps[i].toObject();
        if (step.value(QStringLiteral("op")).toString() == QLatin1String("get"))
            runGet(step, file);
        else
            runWrite(step, folder.path(), file);
        if (QTest::currentTestFailed()) {
            qWarning("step %lld: %s", qlonglong(i),
                     qPrintable(step.value(QStringLiteral("show")).toString()));
            return;
        }
    }
}

void TestProfileVectors::runGet(const QJsonObject &step, const QString &file) {
    const auto section = bytesOf(step.value(QStringLiteral("section_hex")));
    const auto key = bytesOf(step.value(QStringLiteral("key_hex")));
    const auto fallback = bytesOf(step.value(QStringLiteral("default_hex")));
    const int size = step.value(QStringLiteral("bufsize")).toInt();
    const QJsonObject expected = step.value(QStringLiteral("expected")).toObject();
    const int expectedLength = expected.value(QStringLiteral("ret")).toInt();

    QByteArray buffer(size + kGuard, kFill);
    const int length = platform::getPrivateProfileString(
        pointerTo(section), pointerTo(key), pointerTo(fallback), buffer.data(), size, file);
    QCOMPARE(length, expectedLength);
    QCOMPARE(buffer.left(length), *bytesOf(expected.value(QStringLiteral("value_hex"))));
    const QByteArray after = *bytesOf(expected.value(QStringLiteral("after_hex")));
    QCOMPARE(buffer.mid(length, after.size()), after);
    // Nothing further is touched, the guard past the buffer least of all.
    const qsizetype rest = buffer.size() - length - after.size();
    QCOMPARE(buffer.right(rest), QByteArray(rest, kFill));
}

void TestProfileVectors::runWrite(const QJsonObject &step, const QString &folder,
                                  const QString &file) {
    const auto section = bytesOf(step.value(QStringLiteral("section_hex")));
    const auto key = bytesOf(step.value(QStringLiteral("key_hex")));
    const auto value = bytesOf(step.value(QStringLiteral("value_hex")));
    const QString target = step.contains(QStringLiteral("path"))
                               ? folder + u'/' + step.value(QStringLiteral("path")).toString()
                               : file;
    const QJsonObject expected = step.value(QStringLiteral("expected")).toObject();

    platform::ProfileError error = platform::ProfileError::AccessDenied;
    const bool ok = platform::writePrivateProfileString(pointerTo(section), pointerTo(key),
                                                        pointerTo(value), target, &error);
    QCOMPARE(int(ok), expected.value(QStringLiteral("ret")).toInt());
    if (ok)
        QCOMPARE(error, platform::ProfileError::None);
    if (expected.contains(QStringLiteral("last_error")))
        QCOMPARE(int(error), expected.value(QStringLiteral("last_error")).toInt());

    const auto fileAfter = bytesOf(expected.value(QStringLiteral("file_after_hex")));
    QFile written(target);
    if (!fileAfter) {
        QVERIFY2(!written.exists(), "no file may exist after this call");
        return;
    }
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), *fileAfter);
}

QTEST_GUILESS_MAIN(TestProfileVectors)
#include "tst_profilevectors.moc"
