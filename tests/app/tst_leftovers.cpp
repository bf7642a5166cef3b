// A test killed mid-run, as ctest kills one at its timeout (SIGKILL to the
// test's process alone), leaves no zorvel or chathost behind: the helpers'
// programs die with it, and as a process group of its own (as ctest runs
// it) even what those programs started goes.
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

namespace {

// Gone, or a zombie that only waits for its new parent to reap it.
bool ended(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace

class TestLeftovers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedTestLeavesNoProgram_data() {
        QTest::addColumn<bool>("ownGroup");
        QTest::newRow("run by ctest: a process group") << true;
        QTest::newRow("run by hand") << false;
    }
    void killedTestLeavesNoProgram() {
        QFETCH(bool, ownGroup);
        TestEnv env;
        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (ownGroup)
            environment.insert(QStringLiteral("ZORVEL_TEST_GROUP"), QStringLiteral("1"));
        helper.setProcessEnvironment(environment);
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QStringLiteral(ZORVEL_LEFTOVER_HELPER), {});
        QVERIFY(helper.waitForReadyRead(30000));
        const QList<QByteArray> pids = helper.readLine().trimmed().split(' ');
        QCOMPARE(pids.size(), 3);
        const qint64 chathost = pids[0].toLongLong();
        const qint64 zorvel = pids[1].toLongLong();
        const qint64 grandchild = pids[2].toLongLong();
        for (const qint64 pid : {chathost, zorvel, grandchild})
            QVERIFY(pid > 0 && !ended(pid));

        ::kill(pid_t(helper.processId()), SIGKILL);
        QVERIFY(helper.waitForFinished(10000));
        QVERIFY2(waitFor([&] { return ended(chathost) && ended(zorvel); }, 10000),
                 "chathost or zorvel outlived the killed test");
        if (ownGroup)
            QVERIFY2(waitFor([&] { return ended(grandchild); }, 10000),
                     "a program's own child outlived the killed test's group");
        else
            ::kill(pid_t(grandchild), SIGKILL); // nothing ends it without the group
    }
};

QTEST_GUILESS_MAIN(TestLeftovers)
#include "tst_leftovers.moc"
