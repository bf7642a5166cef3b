// The session controller with the test's clock: idle on and off, the idle
// tick and its clock, the double click on "idle on", the minute counter and
// the program's end, each as the room, the settings file and its signals see
// them, in order.
#include "control/idlelines.h"
#include "control/sessioncontroller.h"
#include "hostlink/pause.h"
#include "settings/storedsettings.h"
#include "tests/firststart.h"
#include "tests/recordingroom.h"
#include "tests/stepclock.h"
#include "tests/testenv.h"

#include <QRegularExpression>
#include <QTest>

using control::SessionController;
using namespace Qt::StringLiterals;

class TestSessionController : public QObject {
    Q_OBJECT

    // What happened, in order: the timer switched, each line by its kind, the
    // away texts set, the last idle time stored, idle mode switched.
    QStringList m_log;
    QString m_stored;
    qsizetype m_away = 0;

    void note(RecordingRoom &room, const QString &what) {
        for (; m_away < room.awayTexts.size(); ++m_away)
            m_log << u"away "_s + QString::fromLatin1(room.awayTexts.at(m_away));
        if (const QString stored = settings::StoredSettings().lastIdle(); stored != m_stored)
            m_log << u"stored "_s + (m_stored = stored);
        if (!what.isEmpty())
            m_log << what;
    }

    static QString kindOf(const session::SessionModel &s, const QByteArray &line) {
        const QString text = hostlink::fromWindows1252(line);
        for (const bool engaged : {true, false})
            if (text == control::idleSessionLine(s, engaged))
                return engaged ? u"engaged"_s : u"disengaged"_s;
        if (text == control::reasonLine(s, u"brb"_s))
            return u"reason"_s;
        const auto clock =
            QRegularExpression(u"tim\u00e9: <font color=#009900>(\\S*):(\\S*) "_s).match(text);
        if (clock.hasMatch() &&
            text == control::idleLine(s, u"frobble"_s, clock.captured(1), clock.captured(2)))
            return u"idle "_s + clock.captured(1) + u':' + clock.captured(2);
        return text;
    }

private Q_SLOTS:
    void timers() {
        TestEnv env;
        session::SessionModel session;
        SessionController controller(session);
        QCOMPARE(controller.minuteCounter().objectName(), u"MiUs"_s);
        QCOMPARE(controller.minuteCounter().interval(), 60000);
        QVERIFY(controller.minuteCounter().isActive());
        QCOMPARE(controller.idleTicker().objectName(), u"Timer1"_s);
        QCOMPARE(controller.idleTicker().interval(), 59000);
        QVERIFY(!controller.idleTicker().isActive());
        QCOMPARE(controller.idleTicker().timerType(), Qt::PreciseTimer);
        QCOMPARE(controller.minuteCounter().timerType(), Qt::PreciseTimer);
    }

    void steps_data() {
        QTest::addColumn<QString>("clockBefore");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<bool>("idle");
        QTest::addColumn<bool>("counting"); // the minute counter runs
        QTest::addColumn<QString>("clock");
        QTest::addColumn<QString>("used");
        const QStringList on{u"tick on"_s, u"engaged"_s, u"away brb"_s, u"idle on"_s};
        const auto off = [](const QString &clock) {
            return QStringList{u"tick off"_s, u"disengaged"_s, u"away "_s, u"stored "_s + clock,
                               u"idle off"_s};
        };
        const QStringList tick1{u"idle 0:1"_s, u"reason"_s};
        QTest::newRow("idle on") << "0:00"
                                 << "on" << on << true << true << "0:00"
                                 << "0";
        QTest::newRow("ticks") << "0:00"
                               << "on tick tick"
                               << on + tick1 + QStringList{u"idle 0:2"_s, u"reason"_s} << true
                               << true << "0:2"
                               << "0";
        QTest::newRow("idle off") << "0:00"
                                  << "on tick off" << on + tick1 + off(u"0:1"_s) << false << true
                                  << "0:00"
                                  << "0";
        // The clock's texts: the minutes roll over at 59, as "0"; a damaged
        // caption counts from 0, and the text stored is the one shown.
        QTest::newRow("the clock's texts")
            << "x:58"
            << "on tick tick off"
            << on + QStringList{u"idle 1:0"_s, u"reason"_s, u"idle 1:1"_s, u"reason"_s} +
                   off(u"1:1"_s)
            << false << true << "0:00"
            << "0";
        // The double click stops the tick while idle mode stays on, so the
        // next idle on from elsewhere is not asked for.
        QTest::newRow("the double click")
            << "0:00"
            << "on stop" << on + QStringList{u"tick off"_s} << true << true << "0:00"
            << "0";
        QTest::newRow("minute counter across idle on and off")
            << "0:00"
            << "minute on minute tick off minute" << on + tick1 + off(u"0:1"_s) << false << true
            << "0:00"
            << "3";
        // The end stops both timers and never goes through idle off.
        QTest::newRow("the end while idle")
            << "0:00"
            << "on tick end" << on + tick1 + QStringList{u"tick off"_s} << true << false << "0:1"
            << "0";
    }
    void steps() {
        QFETCH(QString, clockBefore);
        QFETCH(QString, steps);
        QFETCH(QStringList, log);
        QFETCH(bool, idle);
        QFETCH(bool, counting);
        QFETCH(QString, clock);
        QFETCH(QString, used);
        TestEnv env;
        StepClock time;
        hostlink::setPauseClock(&time);
        RecordingRoom room;
        session::SessionModel session;
        startAsAtFirstStart(session);
        settings::StoredSettings().setReason(u"brb"_s);
        session.setHours(clockBefore.section(u':', 0, 0));
        session.setMinutes(clockBefore.section(u':', 1));
        SessionController controller(session);
        m_log.clear();
        m_stored.clear();
        m_away = 0;
        connect(&controller, &SessionController::tickingChanged, this,
                [&](bool on) { note(room, on ? u"tick on"_s : u"tick off"_s); });
        connect(&controller, &SessionController::idleChanged, this,
                [&](bool on) { note(room, on ? u"idle on"_s : u"idle off"_s); });
        room.onPost = [&](const QByteArray &line) { note(room, kindOf(session, line)); };

        for (const QString &step : steps.split(u' ')) {
            if (step == u"on")
                controller.goIdle();
            else if (step == u"off")
                controller.comeBack();
            else if (step == u"tick")
                controller.tick();
            else if (step == u"stop")
                controller.stopIdleTick();
            else if (step == u"minute")
                controller.countMinuteUsed();
            else if (step == u"end")
                controller.stopTimers();
        }
        note(room, {});
        hostlink::setPauseClock(nullptr);

        QCOMPARE(m_log, log);
        QCOMPARE(controller.isIdle(), idle);
        QCOMPARE(controller.isTicking(),
                 log.lastIndexOf(u"tick on"_s) > log.lastIndexOf(u"tick off"_s));
        QCOMPARE(controller.minuteCounter().isActive(), counting);
        QCOMPARE(session.hours() + u':' + session.minutes(), clock);
        QCOMPARE(session.minutesUsed(), used);
    }
};

QTEST_MAIN(TestSessionController)
#include "tst_sessioncontroller.moc"
