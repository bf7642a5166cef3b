// The desktop's idle time: the asking monitor against a desktop whose clock
// the test owns; the X server's sources against a real Xvfb with real
// pointer input; the D-Bus sources against stand-in desktop services on a
// private session bus.
#include "platform/idletime.h"
#include "platform/idletime_unix.h"
#include "tests/xvfbserver.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace std::chrono_literals;
using platform::IdleMonitor;
using platform::PolledIdleMonitor;

namespace {

// A desktop whose input times the test sets and whose clock it owns.
struct Desktop {
    qint64 now = 0;
    qint64 lastInput = 0;
    bool answers = true;
    std::optional<qint64> idleMs() const {
        return answers ? std::optional<qint64>(now - lastInput) : std::nullopt;
    }
};

// A monitor's reports, with the desktop's time of each.
struct Reports {
    explicit Reports(IdleMonitor &monitor, const qint64 &now) {
        QObject::connect(&monitor, &IdleMonitor::idle, [&] { seen << qMakePair(now, true); });
        QObject::connect(&monitor, &IdleMonitor::active, [&] { seen << qMakePair(now, false); });
    }
    QList<QPair<qint64, bool>> seen; // true: idle
};

// GNOME's IdleMonitor as far as the monitor uses it.
class FakeMutter : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")
public:
    uint idleWatch = 0;
    uint activeWatch = 0;
    quint64 interval = 0;
    uint nextId = 1;
    // The desktop reaches the idle watch's interval, or takes input.
    void reachIdle() { Q_EMIT WatchFired(idleWatch); }
    void fire(uint id) { Q_EMIT WatchFired(id); }
    void input() {
        if (activeWatch != 0)
            Q_EMIT WatchFired(std::exchange(activeWatch, 0)); // fires once and goes
    }
public Q_SLOTS:
    uint AddIdleWatch(qulonglong ms) {
        interval = ms;
        return idleWatch = nextId++;
    }
    uint AddUserActiveWatch() { return activeWatch = nextId++; }
    void RemoveWatch(uint id) {
        if (id == idleWatch)
            idleWatch = 0;
    }
Q_SIGNALS:
    void WatchFired(uint id);
};

// org.freedesktop.ScreenSaver's idle time, or GNOME's error for it. It runs
// in a thread of its own: the monitor waits for its answers.
class FakeScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    std::atomic<uint> idleMs{0};
    std::atomic<bool> notSupported{false};
public Q_SLOTS:
    uint GetSessionIdleTime() {
        if (notSupported)
            sendErrorReply(QDBusError::NotSupported, QStringLiteral("not implemented"));
        return idleMs;
    }
};

} // namespace

class TestIdleTime : public QObject {
    Q_OBJECT

    QProcess m_bus;
    QString m_busAddress;

private Q_SLOTS:
    void initTestCase() {
        // A private session bus for the D-Bus sources; the machine's is never asked.
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        QVERIFY2(m_bus.waitForStarted(), "dbus-daemon is needed: the set-up script installs it");
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_busAddress = QString::fromLatin1(m_bus.readLine().trimmed());
        QVERIFY(!m_busAddress.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toLatin1());
    }
    void cleanupTestCase() {
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }

    // The asking monitor: reports at exactly the threshold, a return within
    // one return check, never more than three asks in any minute.
    void askingMonitor_data() {
        QTest::addColumn<qint64>("thresholdMs");
        QTest::addColumn<QList<qint64>>("inputs"); // desktop times of input
        QTest::addColumn<bool>("answers");
        QTest::addColumn<QList<qint64>>("idleAt");
        QTest::addColumn<QList<qint64>>("activeAt");
        QTest::newRow("left alone: idle at the threshold exactly")
            << qint64(300000) << QList<qint64>{} << true << QList<qint64>{300000}
            << QList<qint64>{};
        QTest::newRow("input before the threshold puts it off")
            << qint64(300000) << QList<qint64>{120000, 250000} << true << QList<qint64>{550000}
            << QList<qint64>{};
        QTest::newRow("input once idle: back at the next check, idle again later")
            << qint64(300000) << QList<qint64>{410000} << true << QList<qint64>{300000, 710000}
            << QList<qint64>{420000};
        QTest::newRow("a minute's threshold, input during every idle spell")
            << qint64(60000) << QList<qint64>{65000, 130000} << true
            << QList<qint64>{60000, 125000, 190000} << QList<qint64>{80000, 145000};
        QTest::newRow("a source that does not answer reports nothing")
            << qint64(60000) << QList<qint64>{} << false << QList<qint64>{} << QList<qint64>{};
    }
    void askingMonitor() {
        QFETCH(qint64, thresholdMs);
        QFETCH(QList<qint64>, inputs);
        QFETCH(bool, answers);
        QFETCH(QList<qint64>, idleAt);
        QFETCH(QList<qint64>, activeAt);
        Desktop desktop;
        desktop.answers = answers;
        int asks = 0;
        QList<qint64> askTimes;
        PolledIdleMonitor monitor(QStringLiteral("test"), [&] {
            ++asks;
            askTimes << desktop.now;
            return desktop.idleMs();
        });
        Reports reports(monitor, desktop.now);
        monitor.watch(std::chrono::milliseconds(thresholdMs));
        // The timer never runs: the test moves the clock to each check.
        const qint64 end = 900000;
        while (desktop.now + monitor.nextCheck().count() <= end) {
            QVERIFY(monitor.isChecking());
            const qint64 next = desktop.now + monitor.nextCheck().count();
            for (const qint64 input : inputs)
                if (input > desktop.now && input <= next)
                    desktop.lastInput = input;
            desktop.now = next;
            monitor.check();
        }
        QList<qint64> idle, active;
        for (const auto &[at, idleNow] : std::as_const(reports.seen))
            (idleNow ? idle : active) << at;
        QCOMPARE(idle, idleAt);
        QCOMPARE(active, activeAt);
        for (qsizetype i = 3; i < askTimes.size(); ++i)
            QVERIFY2(
                askTimes[i] - askTimes[i - 3] >= 60000,
                qPrintable(QStringLiteral("four asks within a minute at %1").arg(askTimes[i])));
    }

    // The X server's own idle time under real input: idle once left alone
    // for the threshold, active at a pointer move, idle again.
    void xServerSources_data() {
        QTest::addColumn<bool>("alarms"); // IDLETIME alarms, else the screen-saver extension
        QTest::newRow("IDLETIME alarms") << true;
        QTest::newRow("screen-saver extension") << false;
    }
    void xServerSources() {
        QFETCH(bool, alarms);
        if (!XvfbServer::toolsInstalled())
            QFAIL("Xvfb and xdotool are needed: the set-up script installs them");
        XvfbServer x;
        QVERIFY(x.start());
        const auto threshold = 1500ms;
        std::unique_ptr<IdleMonitor> monitor =
            alarms ? platform::xSyncIdleMonitor(x.display())
                   : platform::xScreenSaverIdleMonitor(x.display(), 100ms);
        QVERIFY(monitor);
        QSignalSpy idle(monitor.get(), &IdleMonitor::idle);
        QSignalSpy active(monitor.get(), &IdleMonitor::active);
        x.movePointer(10, 10);
        QElapsedTimer sinceInput;
        sinceInput.start();
        monitor->watch(threshold);
        QVERIFY(idle.wait(10000));
        // Not before the threshold: the move came before the clock started.
        QVERIFY2(sinceInput.elapsed() >= threshold.count() - 100,
                 qPrintable(QString::number(sinceInput.elapsed())));
        QCOMPARE(active.count(), 0);

        x.movePointer(200, 100);
        QVERIFY(active.wait(10000));
        QCOMPARE(idle.count(), 1);
        QVERIFY(idle.wait(10000)); // left alone again
        QCOMPARE(active.count(), 1);
    }

    void noXServer() { QVERIFY(!platform::xSyncIdleMonitor(QStringLiteral(":9999"))); }

    // GNOME's IdleMonitor: its watches, set for the threshold and then for
    // the next input, and reports only for those.
    void mutterWatches() {
        QDBusConnection service =
            QDBusConnection::connectToBus(m_busAddress, QStringLiteral("mutter"));
        QVERIFY(!platform::mutterIdleMonitor()); // not on the bus yet
        FakeMutter mutter;
        QVERIFY(service.registerObject(QStringLiteral("/org/gnome/Mutter/IdleMonitor/Core"),
                                       &mutter, QDBusConnection::ExportAllContents));
        QVERIFY(service.registerService(QStringLiteral("org.gnome.Mutter.IdleMonitor")));
        {
            std::unique_ptr<IdleMonitor> monitor = platform::mutterIdleMonitor();
            QVERIFY(monitor);
            QSignalSpy idle(monitor.get(), &IdleMonitor::idle);
            QSignalSpy active(monitor.get(), &IdleMonitor::active);
            monitor->watch(7min);
            QTRY_VERIFY_WITH_TIMEOUT(mutter.idleWatch != 0, 5000);
            QCOMPARE(mutter.interval, quint64(420000));

            mutter.fire(mutter.nextId + 7); // a watch of another program's
            QVERIFY(!idle.wait(300));
            mutter.reachIdle();
            QVERIFY(idle.wait(5000));
            QTRY_VERIFY_WITH_TIMEOUT(mutter.activeWatch != 0, 5000);
            mutter.input();
            QVERIFY(active.wait(5000));
            mutter.reachIdle();
            QVERIFY(idle.wait(5000));
            QCOMPARE(idle.count(), 2);
            QCOMPARE(active.count(), 1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(mutter.idleWatch, 0u, 5000); // removed when it goes
        service.unregisterService(QStringLiteral("org.gnome.Mutter.IdleMonitor"));
        QDBusConnection::disconnectFromBus(QStringLiteral("mutter"));
    }

    // org.freedesktop.ScreenSaver: taken where it answers (KDE), not where
    // the call fails (GNOME); then asked like any asking source.
    void freedesktopScreenSaver() {
        QThread thread;
        FakeScreenSaver screenSaver;
        screenSaver.moveToThread(&thread);
        thread.start();
        QDBusConnection service =
            QDBusConnection::connectToBus(m_busAddress, QStringLiteral("screensaver"));
        QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));

        screenSaver.notSupported = true;
        QVERIFY(!platform::freedesktopIdleMonitor());
        screenSaver.notSupported = false;
        std::unique_ptr<IdleMonitor> monitor = platform::freedesktopIdleMonitor(50ms);
        QVERIFY(monitor);
        QSignalSpy idle(monitor.get(), &IdleMonitor::idle);
        QSignalSpy active(monitor.get(), &IdleMonitor::active);
        screenSaver.idleMs = 1000;
        monitor->watch(2s);
        QVERIFY(!idle.wait(200));
        screenSaver.idleMs = 2500;
        QVERIFY(idle.wait(5000));
        screenSaver.idleMs = 40; // input came
        QVERIFY(active.wait(5000));

        service.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        QDBusConnection::disconnectFromBus(QStringLiteral("screensaver"));
        thread.quit();
        thread.wait();
    }

    // Neither an X server nor a desktop service: no source, and nothing waits.
    void noSourceAnswers() {
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        QVERIFY(!platform::desktopIdleMonitor());
    }
};

QTEST_GUILESS_MAIN(TestIdleTime)
#include "tst_idletime.moc"
