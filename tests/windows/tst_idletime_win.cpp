// The Windows source of the desktop's idle time, GetLastInputInfo, under the
// system (Wine in the tests): it answers, the asking monitor reports idle
// once the threshold has passed without input, and input sent through the
// system's own queue (SendInput) brings it back.
#include "platform/idletime.h"

#include <QSignalSpy>
#include <QTest>

#include <windows.h>

using namespace std::chrono_literals;

class TestIdleTimeWin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lastInputTells() {
        std::unique_ptr<platform::IdleMonitor> monitor = platform::desktopIdleMonitor();
        QVERIFY(monitor);
        QCOMPARE(monitor->sourceName(), QStringLiteral("GetLastInputInfo"));
        auto *asking = qobject_cast<platform::PolledIdleMonitor *>(monitor.get());
        QVERIFY(asking);
        QSignalSpy idle(monitor.get(), &platform::IdleMonitor::idle);
        QSignalSpy active(monitor.get(), &platform::IdleMonitor::active);
        monitor->watch(800ms);
        QVERIFY(idle.count() == 1 || idle.wait(5000));
        QCOMPARE(active.count(), 0);

        // Once idle the monitor asks every return check; the test asks now.
        INPUT move = {};
        move.type = INPUT_MOUSE;
        move.mi.dx = 5;
        move.mi.dy = 5;
        move.mi.dwFlags = MOUSEEVENTF_MOVE;
        QCOMPARE(SendInput(1, &move, sizeof move), 1u);
        QTRY_COMPARE_WITH_TIMEOUT((asking->check(), active.count()), 1, 5000);
        QVERIFY(idle.wait(5000)); // left alone again
    }
};

QTEST_GUILESS_MAIN(TestIdleTimeWin)
#include "tst_idletime_win.moc"
