#include "sessioncontroller.h"

#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "hostlink/pacing.h"
#include "hostlink/pause.h"
#include "session/captioncounts.h"
#include "settings/settingsfile.h"
#include "settings/storedsettings.h"

namespace control {

using session::captionNumber;
using session::numberText;

namespace {
void setUp(QTimer &timer, const char *name, int intervalMs) {
    timer.setObjectName(QLatin1String(name));
    timer.setInterval(intervalMs);
    timer.setTimerType(Qt::PreciseTimer);
}
} // namespace

SessionController::SessionController(session::SessionModel &session, QObject *parent)
    : QObject(parent), m_session(session) {
    setUp(m_minuteCounter, "MiUs", hostlink::pacing::kMinuteCounterMs);
    connect(&m_minuteCounter, &QTimer::timeout, this, &SessionController::countMinuteUsed);
    m_minuteCounter.start();
    setUp(m_idleTicker, "Timer1", hostlink::pacing::kIdleTickMs);
    connect(&m_idleTicker, &QTimer::timeout, this, &SessionController::tick);
}

void SessionController::setTicking(bool ticking) {
    if (ticking == m_idleTicker.isActive())
        return;
    if (ticking)
        m_idleTicker.start();
    else
        m_idleTicker.stop();
    Q_EMIT tickingChanged(ticking);
}

void SessionController::goIdle() {
    setTicking(true);
    hostlink::chatSend(idleSessionLine(m_session, true), hostlink::LineKind::Engaged);
    hostlink::setAway(true, settings::StoredSettings().reason());
    m_idle = true;
    Q_EMIT idleChanged(true);
}

void SessionController::comeBack() {
    setTicking(false);
    hostlink::chatSend(idleSessionLine(m_session, false), hostlink::LineKind::Disengaged);
    hostlink::setAway(false);
    // The clock is kept, as the strip shows it, before it is reset.
    settings::StoredSettings().setLastIdle(m_session.hours() + QLatin1Char(':') +
                                           m_session.minutes());
    m_session.setHours(QStringLiteral("0"));
    m_session.setMinutes(QStringLiteral("00"));
    m_idle = false;
    Q_EMIT idleChanged(false);
}

void SessionController::setReason(const QString &reason) {
    settings::StoredSettings stored;
    stored.setReason(reason);
    if (m_idle)
        hostlink::setAway(true, stored.reason()); // as goIdle reads it
}

void SessionController::stopIdleTick() { setTicking(false); }

void SessionController::stopTimers() {
    m_minuteCounter.stop();
    setTicking(false);
}

void SessionController::leaveAway() {
    if (m_idle)
        hostlink::setAway(false);
}

void SessionController::tick() {
    settings::reloadSettings(m_session);
    const settings::StoredSettings stored;
    const QString handle = stored.handle();
    const QString reason = stored.reason();
    // The "minsused" key is not copied into the running count: nothing writes
    // it, so it would blank the count every tick.

    hostlink::processPendingEvents();

    m_session.setMinutes(numberText(captionNumber(m_session.minutes()) + 1));
    if (m_session.minutes() == QLatin1String("59")) {
        m_session.setHours(numberText(captionNumber(m_session.hours()) + 1));
        m_session.setMinutes(QStringLiteral("0"));
    }

    hostlink::chatSend(idleLine(m_session, handle, m_session.hours(), m_session.minutes()),
                       hostlink::LineKind::IdleTime);
    hostlink::pause(hostlink::pacing::kBetweenIdleLines);
    hostlink::chatSend(reasonLine(m_session, reason), hostlink::LineKind::Reason);
}

void SessionController::countMinuteUsed() {
    hostlink::processPendingEvents();
    m_session.setMinutesUsed(numberText(1 + captionNumber(m_session.minutesUsed())));
}

} // namespace control
