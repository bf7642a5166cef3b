#include "sendqueue.h"

#include <algorithm>

namespace irc {

SendQueue::SendQueue(std::function<qint64()> nowMs, int capacity)
    : m_nowMs(std::move(nowMs)), m_capacity(std::max(1, capacity)) {}

qint64 SendQueue::costMs(qsizetype bytes) { return kIntervalMs + bytes * 1000 / kBytesPerSecond; }

void SendQueue::push(const QByteArray &line, const QString &target) {
    if (qsizetype(m_lines.size()) >= m_capacity) {
        const QString dropped = m_lines.front().target;
        m_lines.pop_front();
        if (!m_dropped.isEmpty() && m_dropped.last().first == dropped)
            ++m_dropped.last().second;
        else
            m_dropped.append({dropped, 1});
    }
    m_lines.push_back({line, target});
}

void SendQueue::forgetReturned(qint64 now) const {
    while (!m_returns.empty() && m_returns.front() <= now)
        m_returns.pop_front();
}

QList<QByteArray> SendQueue::takeReady() {
    QList<QByteArray> ready;
    const qint64 now = m_nowMs();
    forgetReturned(now);
    // A line takes a share of the burst that comes back once the server has
    // had the line's time: shares come back one after another, so past the
    // burst the lines leave one per interval.
    while (!m_lines.empty() && m_returns.size() < std::size_t(kBurst)) {
        const QByteArray line = std::move(m_lines.front().line);
        m_lines.pop_front();
        m_paceEnd = std::max(m_paceEnd, now) + costMs(line.size() + 2);
        m_returns.push_back(m_paceEnd);
        ready.append(line);
    }
    return ready;
}

qint64 SendQueue::msUntilNext() const {
    if (m_lines.empty())
        return -1;
    const qint64 now = m_nowMs();
    forgetReturned(now);
    if (m_returns.size() < std::size_t(kBurst))
        return 0;
    return m_returns.front() - now;
}

void SendQueue::clear() {
    m_lines.clear();
    m_returns.clear();
    m_paceEnd = 0;
}

QList<QPair<QString, int>> SendQueue::takeDropped() {
    QList<QPair<QString, int>> dropped;
    dropped.swap(m_dropped);
    return dropped;
}

} // namespace irc
