// Auto-idle's rules against an idle session the test keeps and a desktop
// whose clock it owns, read through the asking monitor: when idle mode goes
// on and off by itself, and that a hand-made idle mode is left alone.
#include "autoidle/autoidle.h"

#include <QTest>

using namespace std::chrono_literals;

using namespace Qt::StringLiterals;

namespace {

using Clicks = QList<QPair<int, bool>>; // desktop second, idle on

// Idle mode as the session menu keeps it, with what each switch did.
class Session final : public autoidle::IdleSession {
public:
    bool isIdle() const override { return m_idle; }
    void goIdle() override { switchTo(true, QStringLiteral("auto on")); }
    void comeBack() override { switchTo(false, QStringLiteral("auto off")); }
    // The person's clicks on the menu's idle on and idle off.
    void byHand(bool on) {
        switchTo(on, on ? QStringLiteral("hand on") : QStringLiteral("hand off"));
    }

    autoidle::AutoIdle *autoIdle = nullptr;
    QStringList log; // "<desktop seconds> <switch>"
    const qint64 *now = nullptr;

private:
    void switchTo(bool on, const QString &what) {
        m_idle = on;
        log << QStringLiteral("%1 %2").arg(*now / 1000).arg(what);
        // The menu reports every switch, its own commands' too.
        autoIdle->switched();
    }
    bool m_idle = false;
};

} // namespace

class TestAutoIdle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void minutesOfTheKey_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("minutes"); // 0: off
        QTest::newRow("absent or empty") << QString() << 0;
        QTest::newRow("0") << QStringLiteral("0") << 0;
        QTest::newRow("garbage") << QStringLiteral("soon") << 0;
        QTest::newRow("a number with garbage after it") << QStringLiteral("5m") << 0;
        QTest::newRow("negative") << QStringLiteral("-5") << 0;
        QTest::newRow("a fraction") << QStringLiteral("2.5") << 0;
        QTest::newRow("more than a year") << QStringLiteral("527041") << 0;
        QTest::newRow("beyond an int") << QStringLiteral("99999999999") << 0;
        QTest::newRow("one minute") << QStringLiteral("1") << 1;
        QTest::newRow("ten") << QStringLiteral("10") << 10;
        QTest::newRow("a leading zero") << QStringLiteral("07") << 7;
        QTest::newRow("a year") << QStringLiteral("527040") << 527040;
    }
    void minutesOfTheKey() {
        QFETCH(QString, value);
        QFETCH(int, minutes);
        QCOMPARE(autoidle::minutesFrom(value).value_or(0), minutes);
    }

    // Each row: the key in minutes, the desktop's input times and the
    // person's clicks (desktop seconds; a click is input too), and every
    // switch of idle mode that follows, by whom, in the first half hour.
    void switches_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QList<int>>("inputs");
        QTest::addColumn<Clicks>("clicks");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("left alone: on after exactly the minutes")
            << 5 << QList<int>{} << Clicks{} << QStringList{u"300 auto on"_s};
        QTest::newRow("input puts it off; back at the first input after")
            << 5 << QList<int>{200, 710, 1405} << Clicks{}
            << QStringList{u"500 auto on"_s, u"720 auto off"_s, u"1010 auto on"_s,
                           u"1410 auto off"_s, u"1705 auto on"_s};
        QTest::newRow("idle on by hand is never switched off")
            << 5 << QList<int>{900} << Clicks{{100, true}} << QStringList{u"100 hand on"_s};
        QTest::newRow("off and on by hand between two checks: the hand's stays")
            << 5 << QList<int>{} << Clicks{{405, false}, {410, true}}
            << QStringList{u"300 auto on"_s, u"405 hand off"_s, u"410 hand on"_s};
        QTest::newRow("idle off by hand, then left alone: on again by itself")
            << 5 << QList<int>{} << Clicks{{100, true}, {200, false}}
            << QStringList{u"100 hand on"_s, u"200 hand off"_s, u"500 auto on"_s};
    }
    void switches() {
        QFETCH(int, minutes);
        QFETCH(QList<int>, inputs);
        QFETCH(Clicks, clicks);
        QFETCH(QStringList, log);
        qint64 now = 0;
        qint64 lastInput = 0;
        platform::PolledIdleMonitor monitor(QStringLiteral("test"),
                                            [&] { return std::optional<qint64>(now - lastInput); });
        Session session;
        session.now = &now;
        autoidle::AutoIdle autoIdle(session, monitor, std::chrono::minutes(minutes));
        session.autoIdle = &autoIdle;

        // The desktop, a second at a time; the monitor's timer never runs:
        // its handler is called when the clock reaches its time.
        qint64 due = now + monitor.nextCheck().count();
        for (now = 1000; now <= 1800 * 1000; now += 1000) {
            if (inputs.contains(int(now / 1000)))
                lastInput = now;
            for (const auto &[at, on] : std::as_const(clicks)) {
                if (at == now / 1000) {
                    lastInput = now;
                    session.byHand(on);
                }
            }
            if (now >= due) {
                monitor.check();
                due = now + monitor.nextCheck().count();
            }
        }
        QCOMPARE(session.log, log);
    }
};

QTEST_GUILESS_MAIN(TestAutoIdle)
#include "tst_autoidle.moc"
