#include "autoidle.h"

#include <algorithm>
#include <utility>

namespace autoidle {

std::optional<int> minutesFrom(const QString &value) {
    bool ok = false;
    const int minutes = value.toInt(&ok, 10);
    if (!ok || minutes < 1 || minutes > kMostMinutes)
        return std::nullopt;
    return minutes;
}

std::optional<int> givenMinutes(const QString &value) {
    // The key is read leniently (a sign, blanks); a person's "+5" or "5 "
    // on the command line is more likely a slip than a number.
    const bool digits =
        !value.isEmpty() && value.size() <= 9 &&
        std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits)
        return std::nullopt;
    if (value.toInt() == 0)
        return 0;
    return minutesFrom(value);
}

AutoIdle::AutoIdle(IdleSession &session, platform::IdleMonitor &monitor,
                   std::chrono::milliseconds threshold, QObject *parent)
    : QObject(parent), m_session(session) {
    connect(&monitor, &platform::IdleMonitor::idle, this, [this] { report(Report::Idle); });
    connect(&monitor, &platform::IdleMonitor::active, this, [this] { report(Report::Active); });
    monitor.watch(threshold);
}

void AutoIdle::switched() {
    if (!m_switching)
        m_automatic = false;
}

void AutoIdle::report(Report report) {
    m_pending = report;
    // A command that runs the event loop may let the next report in: it is
    // taken once the command is done, in turn.
    if (m_switching)
        return;
    m_switching = true;
    while (m_pending != Report::None) {
        const Report next = std::exchange(m_pending, Report::None);
        if (next == Report::Idle) {
            if (!m_session.isIdle()) {
                m_automatic = true;
                m_session.goIdle();
            }
        } else if (m_automatic) {
            m_automatic = false;
            if (m_session.isIdle())
                m_session.comeBack();
        }
    }
    m_switching = false;
}

} // namespace autoidle
