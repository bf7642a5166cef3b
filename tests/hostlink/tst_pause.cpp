// pause() against an injected clock: where it starts, when it ends, what runs
// meanwhile, and a wait across midnight.
#include "hostlink/pause.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

namespace {
// A clock that moves on by a fixed step at every look, as time would pass
// while the pending events run.
class SteppingClock final : public platform::Clock {
public:
    SteppingClock(double start, double step) : m_now(start - step), m_step(step) {}
    double secondsSinceMidnight() const override {
        m_now += m_step;
        if (m_now >= 86400.0)
            m_now -= 86400.0;
        ++m_reads;
        return m_now;
    }
    double last() const { return m_now; }
    int reads() const { return m_reads; }

private:
    mutable double m_now;
    double m_step;
    mutable int m_reads = 0;
};
} // namespace

class TestPause : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { hostlink::setPauseClock(nullptr); }

    void wholeSeconds_data() {
        QTest::addColumn<double>("given");
        QTest::addColumn<int>("whole");
        // The delays the program uses, and halves going to even.
        QTest::newRow("0.57") << 0.57 << 1;
        QTest::newRow("0.22") << 0.22 << 0;
        QTest::newRow("0.36") << 0.36 << 0;
        QTest::newRow("1.46") << 1.46 << 1;
        QTest::newRow("0.35") << 0.35 << 0;
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
    }
    void wholeSeconds() {
        QFETCH(double, given);
        QFETCH(int, whole);
        QCOMPARE(hostlink::wholeSeconds(given), whole);
    }

    void endsAt_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<double>("end"); // the first time of day at which it may return
        QTest::addColumn<bool>("runsEvents");
        QTest::newRow("0 below the half returns at once") << 100.3 << 0 << 100.3 << false;
        QTest::newRow("0 above the half runs to the second") << 100.7 << 0 << 101.0 << true;
        QTest::newRow("1 at .6 runs to the second after next") << 100.6 << 1 << 102.0 << true;
        QTest::newRow("1 at .2 runs to the next second") << 100.2 << 1 << 101.0 << true;
        QTest::newRow("1 across midnight") << 86399.7 << 1 << 1.0 << true;
        QTest::newRow("1 rounding up to midnight") << 86399.6 << 1 << 1.0 << true;
    }
    void endsAt() {
        QFETCH(double, start);
        QFETCH(int, seconds);
        QFETCH(double, end);
        QFETCH(bool, runsEvents);

        const double step = 0.01;
        SteppingClock clock(start, step);
        hostlink::setPauseClock(&clock);
        int ticks = 0;
        QTimer pending;
        connect(&pending, &QTimer::timeout, this, [&ticks] { ++ticks; });
        pending.start(0);

        hostlink::pause(seconds);

        QCOMPARE(ticks > 0, runsEvents);
        // It returned at the first look that reached the end, not before, not later.
        QVERIFY2(clock.last() >= end - 1e-9, qPrintable(QString::number(clock.last(), 'f', 3)));
        QVERIFY2(clock.last() < end + step + 1e-9,
                 qPrintable(QString::number(clock.last(), 'f', 3)));
    }
};

QTEST_MAIN(TestPause)
#include "tst_pause.moc"
