#include "idletime.h"

#include <algorithm>
#include <climits>

namespace platform {

using std::chrono::milliseconds;

PolledIdleMonitor::PolledIdleMonitor(QString sourceName, IdleTimeQuery query,
                                     milliseconds returnCheck, QObject *parent)
    : IdleMonitor(parent), m_name(std::move(sourceName)), m_query(std::move(query)),
      m_returnCheck(returnCheck) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PolledIdleMonitor::check);
}

void PolledIdleMonitor::watch(milliseconds threshold) {
    m_threshold = std::max(threshold, milliseconds(1));
    m_idle = false;
    check();
}

void PolledIdleMonitor::checkIn(milliseconds delay) {
    // A timer takes an int of milliseconds: a threshold of weeks is asked
    // about again after the longest wait it can take.
    m_next = std::clamp(delay, milliseconds(1), milliseconds(INT_MAX));
    m_timer.start(m_next);
}

void PolledIdleMonitor::check() {
    const std::optional<qint64> answer = m_query();
    if (!answer) {
        // The source went away for now: ask again later, at the pace of a return.
        checkIn(m_returnCheck);
        return;
    }
    const milliseconds idleFor(*answer);
    if (!m_idle) {
        if (idleFor < m_threshold) {
            checkIn(m_threshold - idleFor);
            return;
        }
        m_idle = true;
        m_lastIdle = idleFor;
        checkIn(m_returnCheck);
        Q_EMIT idle();
        return;
    }
    if (idleFor >= m_lastIdle) {
        m_lastIdle = idleFor;
        checkIn(m_returnCheck);
        return;
    }
    m_idle = false;
    checkIn(m_threshold - std::min(idleFor, m_threshold));
    Q_EMIT active();
}

} // namespace platform
