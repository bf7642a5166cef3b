// The sanitizer suite's own check: a program that a test starts inherits the
// suite's sanitizer options, and its undefined behaviour or memory fault
// ends it and leaves a report, with a stack, in the build's log folder, which
// scripts/sanitize.sh fails on.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kFaultProgram = QStringLiteral(ZORVEL_SANITIZER_FAULT);

// The value of `name` in a sanitizer's options ("a=1:b=2"); empty if unset.
QString option(const char *variable, const QString &name) {
    const QStringList pairs = qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts);
    for (const QString &pair : pairs) {
        if (pair.section(u'=', 0, 0) == name)
            return pair.section(u'=', 1);
    }
    return {};
}

} // namespace

class TestSanitizerLogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        const QString logs = qEnvironmentVariable("ZORVEL_BUILD_DIR") + u"/sanitizer-logs"_s;
        QVERIFY2(QFileInfo(logs).isDir(), qPrintable(logs + u" is no folder"_s));
        m_logPath = option("ASAN_OPTIONS", u"log_path"_s);
        // Reports of both sanitizers go to the folder the script checks; one
        // file per process.
        QCOMPARE(QFileInfo(m_logPath).absolutePath(), QFileInfo(logs).absoluteFilePath());
        QCOMPARE(option("UBSAN_OPTIONS", u"log_path"_s), m_logPath);
        QCOMPARE(option("UBSAN_OPTIONS", u"print_stacktrace"_s), u"1"_s);
    }

    void startedProgramReports_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("operand");
        QTest::addColumn<QString>("report");

        QTest::newRow("signed overflow")
            << u"signed-overflow"_s << u"2"_s << u"runtime error: signed integer overflow"_s;
        QTest::newRow("shift past the width")
            << u"shift"_s << u"40"_s << u"runtime error: shift exponent 40"_s;
        QTest::newRow("read past a heap block")
            << u"heap-overflow"_s << u"4"_s << u"ERROR: AddressSanitizer: heap-buffer-overflow"_s;
    }

    void startedProgramReports() {
        QFETCH(QString, fault);
        QFETCH(QString, operand);
        QFETCH(QString, report);

        QProcess program;
        program.start(kFaultProgram, {fault, operand});
        QVERIFY(program.waitForStarted(10000));
        const qint64 pid = program.processId();
        QVERIFY(program.waitForFinished(60000));
        // Undefined behaviour does not recover: the program stops at it.
        QVERIFY(program.exitStatus() == QProcess::CrashExit || program.exitCode() != 0);
        QVERIFY(program.readAllStandardOutput().isEmpty());

        QFile file(m_logPath + u'.' + QString::number(pid));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName() + u" is missing"_s));
        const QString text = QString::fromLocal8Bit(file.readAll());
        file.close();
        // This report was made on purpose: the suite's run must not see it.
        QVERIFY(file.remove());
        QVERIFY2(text.contains(report), qPrintable(text));
        QVERIFY2(text.contains(u"#0 "_s) && text.contains(u"#1 "_s), qPrintable(text));
    }

private:
    QString m_logPath;
};

QTEST_GUILESS_MAIN(TestSanitizerLogs)
#include "tst_sanitizerlogs.moc"
