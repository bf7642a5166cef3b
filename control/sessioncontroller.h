#pragma once

#include "session/sessionmodel.h"

#include <QObject>
#include <QTimer>

namespace control {

// The session's idle mode and its two timers: idle on and idle off, the idle
// tick that advances the idle clock and posts its two lines, and the minute
// counter. Whoever switches idle mode (the session menu, auto-idle) calls it;
// the windows only show its state. Idle mode and the tick are two states: a
// double click on "idle on" stops the tick while idle mode stays on.
class SessionController final : public QObject {
    Q_OBJECT
public:
    // The minute counter starts at once; the idle tick waits for goIdle().
    explicit SessionController(session::SessionModel &session, QObject *parent = nullptr);

    bool isIdle() const { return m_idle; }
    bool isTicking() const { return m_idleTicker.isActive(); }

    // "idle on": the tick starts, the engaged line, marked away with the
    // stored reason. Callers hide their window first.
    void goIdle();
    // "idle off": the tick stops, the disengaged line, marked back, the idle
    // clock stored as the last idle time, then reset.
    void comeBack();
    // "edit msg": the reason stored; while idle, marked away again with it,
    // so the network gives the new one.
    void setReason(const QString &reason);
    // The double click on "idle on": the tick stops, nothing else.
    void stopIdleTick();
    // The program's end: both timers stop; idle mode stays as it is, and no
    // line is posted (the unload never comes back from idle).
    void stopTimers();
    // After the closing lines: a user still idle is marked back, so that no
    // network keeps them away once the program is gone.
    void leaveAway();

    // An idle tick: the style reloaded, the clock advanced, the idle time
    // line and, a second later, the reason line. Idle mode is not looked at:
    // the tick runs its course once it has begun.
    void tick();
    // A minute of use.
    void countMinuteUsed();

    // The timers (design names Timer1 and MiUs), for the run's settings and
    // the benchmark's control channel; switching them is this object's job.
    QTimer &idleTicker() { return m_idleTicker; }
    QTimer &minuteCounter() { return m_minuteCounter; }

Q_SIGNALS:
    // Idle on or idle off has run, whoever ran it.
    void idleChanged(bool idle);
    // The tick started or stopped.
    void tickingChanged(bool ticking);

private:
    void setTicking(bool ticking);

    session::SessionModel &m_session;
    QTimer m_minuteCounter;
    QTimer m_idleTicker;
    bool m_idle = false;
};

} // namespace control
