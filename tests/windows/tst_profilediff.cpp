// Every recorded case of the settings file, run against both our profile
// functions and the system's own GetPrivateProfileStringA and
// WritePrivateProfileStringA (Wine's, where this runs). Each difference between
// the two is printed as a row of a table; a difference that is not one of our
// documented decisions fails the test, and so does a result of ours that is
// not the recorded one.

#include "platform/profile.h"
#include "tests/vectorfields.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <windows.h>

namespace {

constexpr char kFileName[] = "zorvel.ini";
constexpr char kFill = char(0xCC);
constexpr int kGuard = 4;

using vectorfields::bytesOf;
using vectorfields::pointerTo;

// What one step gave, in the vectors' own terms, so the sides compare field by field.
struct Outcome {
    int ret = 0;
    QByteArray value;             // get: the bytes copied; write: the file after ("-" for none)
    QByteArray after;             // get: the bytes right after them
    std::optional<int> lastError; // write: the reason of a failure
};

bool operator==(const Outcome &a, const Outcome &b) {
    return a.ret == b.ret && a.value == b.value && a.after == b.after && a.lastError == b.lastError;
}

// One side: ours, or the system's.
struct Side {
    int (*get)(const char *, const char *, const char *, char *, int, const QString &);
    bool (*write)(const char *, const char *, const char *, const QString &, int *);
};

int oursGet(const char *s, const char *k, const char *d, char *b, int n, const QString &f) {
    return platform::getPrivateProfileString(s, k, d, b, n, f);
}
bool oursWrite(const char *s, const char *k, const char *v, const QString &f, int *error) {
    platform::ProfileError reason = platform::ProfileError::None;
    const bool ok = platform::writePrivateProfileString(s, k, v, f, &reason);
    *error = int(reason);
    return ok;
}

QByteArray ansiPath(const QString &file) {
    // The folders of a test are ASCII; the system's A functions take ANSI paths.
    return QDir::toNativeSeparators(file).toLocal8Bit();
}
int systemGet(const char *s, const char *k, const char *d, char *b, int n, const QString &f) {
    return int(GetPrivateProfileStringA(s, k, d, b, DWORD(n), ansiPath(f).constData()));
}
bool systemWrite(const char *s, const char *k, const char *v, const QString &f, int *error) {
    SetLastError(0);
    const bool ok = WritePrivateProfileStringA(s, k, v, ansiPath(f).constData());
    *error = ok ? 0 : int(GetLastError());
    return ok;
}

const Side kOurs{oursGet, oursWrite};
const Side kSystem{systemGet, systemWrite};

Outcome runStep(const Side &side, const QJsonObject &step, const QString &folder,
                const QString &file) {
    const auto section = bytesOf(step.value(QStringLiteral("section_hex")));
    const auto key = bytesOf(step.value(QStringLiteral("key_hex")));
    Outcome out;
    if (step.value(QStringLiteral("op")).toString() == QLatin1String("get")) {
        const auto fallback = bytesOf(step.value(QStringLiteral("default_hex")));
        const int size = step.value(QStringLiteral("bufsize")).toInt();
        const int afterSize =
            int(bytesOf(step[QStringLiteral("expected")][QStringLiteral("after_hex")])->size());
        QByteArray buffer(size + kGuard, kFill);
        out.ret = side.get(pointerTo(section), pointerTo(key), pointerTo(fallback), buffer.data(),
                           size, file);
        out.value = buffer.left(qBound(0, out.ret, int(buffer.size())));
        out.after = buffer.mid(out.value.size(), qMax(afterSize, 2));
        return out;
    }
    const auto value = bytesOf(step.value(QStringLiteral("value_hex")));
    const QString target = step.contains(QStringLiteral("path"))
                               ? folder + u'/' + step.value(QStringLiteral("path")).toString()
                               : file;
    int error = 0;
    out.ret =
        side.write(pointerTo(section), pointerTo(key), pointerTo(value), target, &error) ? 1 : 0;
    if (out.ret == 0)
        out.lastError = error;
    QFile written(target);
    out.value = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray("-");
    return out;
}

// The recorded result in the same terms, cut to the bytes the vectors pin down.
Outcome expectedOf(const QJsonObject &step, const QString &field) {
    const QJsonObject e = step.value(field).toObject();
    Outcome out;
    out.ret = e.value(QStringLiteral("ret")).toInt();
    if (step.value(QStringLiteral("op")).toString() == QLatin1String("get")) {
        out.value = *bytesOf(e.value(QStringLiteral("value_hex")));
        out.after = *bytesOf(e.value(QStringLiteral("after_hex")));
    } else {
        out.value = bytesOf(e.value(QStringLiteral("file_after_hex"))).value_or("-");
        if (e.contains(QStringLiteral("last_error")))
            out.lastError = e.value(QStringLiteral("last_error")).toInt();
    }
    return out;
}

// An outcome compared with a recorded one only as far as the record goes.
bool matches(Outcome got, const Outcome &recorded) {
    got.after = got.after.left(recorded.after.size());
    if (!recorded.lastError && got.ret == recorded.ret)
        got.lastError.reset();
    return got == recorded;
}

QString show(const Outcome &o) {
    QString text = QStringLiteral("ret %1").arg(o.ret);
    if (o.lastError)
        text += QStringLiteral(", error %1").arg(*o.lastError);
    const QByteArray shown =
        o.value.size() > 40 ? o.value.left(18) + "..." + o.value.right(18) : o.value;
    QString escaped;
    for (const char c : shown) {
        const auto u = std::uint8_t(c);
        escaped += u >= 0x20 && u < 0x7f && c != '|'
                       ? QString(QLatin1Char(c))
                       : QStringLiteral("\\x%1").arg(u, 2, 16, QChar(u'0'));
    }
    return text + QStringLiteral(", `") + escaped + u'`';
}

} // namespace

class TestProfileDiff : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cases_data();
    void cases();
    void cleanupTestCase();

private:
    QJsonArray m_cases;
    QStringList m_rows;
};

void TestProfileDiff::initTestCase() {
    QFile source(QStringLiteral(ZORVEL_INI_VECTORS));
    QVERIFY2(source.open(QIODevice::ReadOnly), qPrintable(source.fileName()));
    m_cases =
        QJsonDocument::fromJson(source.readAll()).object().value(QStringLiteral("cases")).toArray();
    QVERIFY(!m_cases.isEmpty());
    // The system reads the file names and texts in its ANSI code page: 1252 here.
    QCOMPARE(GetACP(), 1252u);
}

void TestProfileDiff::cases_data() {
    QTest::addColumn<QJsonObject>("testCase");
    for (const QJsonValue &entry : std::as_const(m_cases))
        QTest::newRow(qPrintable(entry[QStringLiteral("id")].toString())) << entry.toObject();
}

void TestProfileDiff::cases() {
    QFETCH(QJsonObject, testCase);
    const QString id = testCase.value(QStringLiteral("id")).toString();
    const auto before = bytesOf(testCase.value(QStringLiteral("file_before_hex")));
    QTemporaryDir oursDir, systemDir;
    QVERIFY(oursDir.isValid() && systemDir.isValid());
    for (const QTemporaryDir *dir : {&oursDir, &systemDir}) {
        if (!before)
            continue;
        QFile out(dir->filePath(QLatin1String(kFileName)));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(*before), before->size());
    }

    const QJsonArray steps = testCase.value(QStringLiteral("steps")).toArray();
    QStringList unexplained;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QJsonObject step = steps[i].toObject();
        const Outcome ours =
            runStep(kOurs, step, oursDir.path(), oursDir.filePath(QLatin1String(kFileName)));
        const Outcome system =
            runStep(kSystem, step, systemDir.path(), systemDir.filePath(QLatin1String(kFileName)));
        const Outcome recorded = expectedOf(step, QStringLiteral("expected"));
        QVERIFY2(matches(ours, recorded), qPrintable(QStringLiteral("step %1: ours %2, recorded %3")
                                                         .arg(i)
                                                         .arg(show(ours), show(recorded))));
        if (matches(system, recorded))
            continue;
        // Where the system differs, it must be one of our recorded decisions:
        // the system then gives what the reference gave, kept beside ours.
        const bool decision = step.contains(QStringLiteral("peer_result")) &&
                              matches(system, expectedOf(step, QStringLiteral("peer_result")));
        const QString why = decision ? testCase.value(QStringLiteral("decision")).toString()
                                     : QStringLiteral("FAILURE: no decision of ours explains it");
        m_rows << QStringLiteral("| %1 | %2 | %3 | %4 | %5 |")
                      .arg(id, step.value(QStringLiteral("show")).toString().replace(u'|', u'/'),
                           show(ours), show(system), why);
        if (!decision)
            unexplained << QStringLiteral("step %1: ours %2, system %3")
                               .arg(i)
                               .arg(show(ours), show(system));
    }
    QVERIFY2(unexplained.isEmpty(), qPrintable(unexplained.join(u'\n')));
}

void TestProfileDiff::cleanupTestCase() {
    qInfo().noquote()
        << QStringLiteral("%1 differences between ours and the system's:").arg(m_rows.size());
    qInfo().noquote() << "| case | step | ours | system | why |";
    qInfo().noquote() << "|---|---|---|---|---|";
    for (const QString &row : std::as_const(m_rows))
        qInfo().noquote() << row;
}

QTEST_GUILESS_MAIN(TestProfileDiff)
#include "tst_profilediff.moc"
