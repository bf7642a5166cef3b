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

namespace {
// A posted line by its kind: engaged, disengaged, reason, or "idle h:mm".
QString kindOf(const session::SessionModel &s, const QByteArray &line) {
    const QString text = hostlink::fromWindows1252(line);
    if (text == control::idleSessionLine(s, true) || text == control::reasonLine(s, u"brb"_s))
        return text.contains(u"sèssiøn"_s) ? u"engaged"_s : u"reason"_s;
    if (text == control::idleSessionLine(s, false))
        return u"disengaged"_s;
    const auto at = QRegularExpression(u"timé: <font color=#009900>(\\S*):(\\S*) "_s).match(text);
    if (at.hasMatch() && text == control::idleLine(s, u"frobble"_s, at.captured(1), at.captured(2)))
        return u"idle "_s + at.captured(1) + u':' + at.captured(2);
    return text;
}
} // namespace

class TestSessionController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timers() {
        TestEnv env;
        session::SessionModel session;
        SessionController controller(session);
        for (QTimer *timer : {&controller.minuteCounter(), &controller.idleTicker()})
            QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QCOMPARE(controller.minuteCounter().objectName(), u"MiUs"_s);
        QCOMPARE(controller.minuteCounter().interval(), 60000);
        QVERIFY(controller.minuteCounter().isActive());
        QCOMPARE(controller.idleTicker().objectName(), u"Timer1"_s);
        QCOMPARE(controller.idleTicker().interval(), 59000);
        QVERIFY(!controller.idleTicker().isActive());
    }

    void steps_data() {
        QTest::addColumn<QString>("clockBefore");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("state"); // idle mode, the clock, the minutes used
        const QStringList on = {u"tick on"_s, u"engaged"_s, u"away brb"_s, u"idle on"_s};
        const auto off = [](const QString &clock) {
            return QStringList{u"tick off"_s, u"disengaged"_s, u"away "_s, u"stored "_s + clock,
                               u"idle off"_s};
        };
        const auto tick = [](const QString &clock) {
            return QStringList{u"idle "_s + clock, u"reason"_s};
        };
        QTest::newRow("idle on") << "0:00"
                                 << "on" << on << "idle 0:00 0";
        QTest::newRow("ticks") << "0:00"
                               << "on tick tick" << on + tick(u"0:1"_s) + tick(u"0:2"_s)
                               << "idle 0:2 0";
        QTest::newRow("idle off") << "0:00"
                                  << "on tick off" << on + tick(u"0:1"_s) + off(u"0:1"_s)
                                  << "back 0:00 0";
        // The minutes roll over at 59, as "0"; a damaged caption counts from 0.
        QTest::newRow("the clock's texts")
            << "x:58"
            << "on tick tick off" << on + tick(u"1:0"_s) + tick(u"1:1"_s) + off(u"1:1"_s)
            << "back 0:00 0";
        // The tick stops, idle mode stays on: auto-idle posts no second engaged line.
        QTest::newRow("the double click")
            << "0:00"
            << "on stop" << on + QStringList{u"tick off"_s} << "idle 0:00 0";
        QTest::newRow("minute counter across idle on and off")
            << "0:00"
            << "minute on minute tick off minute" << on + tick(u"0:1"_s) + off(u"0:1"_s)
            << "back 0:00 3";
        // Both timers stop; the end never goes through idle off.
        QTest::newRow("the end while idle")
            << "0:00"
            << "on tick end" << on + tick(u"0:1"_s) + QStringList{u"tick off"_s} << "idle 0:1 0";
    }
    void steps() {
        QFETCH(QString, clockBefore);
        QFETCH(QString, steps);
        QFETCH(QStringList, log);
        QFETCH(QString, state);
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

        // What happened, in order: the away texts and the stored last idle
        // time are noted as they are found at the next event.
        QStringList seen;
        QString stored;
        const auto note = [&](const QString &what) {
            for (qsizetype i = seen.filter(u"away"_s).size(); i < room.awayTexts.size(); ++i)
                seen << u"away "_s + QString::fromLatin1(room.awayTexts.at(i));
            if (settings::StoredSettings().lastIdle() != stored)
                seen << u"stored "_s + (stored = settings::StoredSettings().lastIdle());
            seen << what;
        };
        const auto onOff = [](bool on) { return on ? u" on"_s : u" off"_s; };
        connect(&controller, &SessionController::tickingChanged, this,
                [&](bool on) { note(u"tick"_s + onOff(on)); });
        connect(&controller, &SessionController::idleChanged, this,
                [&](bool on) { note(u"idle"_s + onOff(on)); });
        room.onPost = [&](const QByteArray &line) { note(kindOf(session, line)); };

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
        hostlink::setPauseClock(nullptr);

        QCOMPARE(seen, log);
        QCOMPARE(QStringList({controller.isIdle() ? u"idle"_s : u"back"_s,
                              session.hours() + u':' + session.minutes(), session.minutesUsed()})
                     .join(u' '),
                 state);
        QCOMPARE(controller.isTicking(),
                 log.lastIndexOf(u"tick on"_s) > log.lastIndexOf(u"tick off"_s));
        QCOMPARE(controller.minuteCounter().isActive(), !steps.endsWith(u"end"_s));
    }
};

QTEST_MAIN(TestSessionController)
#include "tst_sessioncontroller.moc"
