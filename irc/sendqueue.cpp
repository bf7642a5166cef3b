#include "sendqueue.h"

#include "irc/formatcodes.h"
#include "irc/ircmessage.h"

#include <algorithm>

namespace irc {

SendQueue::SendQueue(std::function<qint64()> nowMs, int capacity)
    : m_nowMs(std::move(nowMs)), m_capacity(std::max(1, capacity)) {}

qint64 SendQueue::costMs(qsizetype bytes) { return kIntervalMs + bytes * 1000 / kBytesPerSecond; }

void SendQueue::pushControl(const QByteArray &line) { m_control.append(line); }

void SendQueue::push(const QByteArray &line, const QString &target, qsizetype textAt) {
    if (qsizetype(m_lines.size()) >= m_capacity) {
        const QString dropped = m_lines.front().target;
        m_lines.pop_front();
        if (!m_dropped.isEmpty() && m_dropped.last().first == dropped)
            ++m_dropped.last().second;
        else
            m_dropped.append({dropped, 1});
    }
    m_lines.push_back({line, target, textAt});
}

void SendQueue::forgetOldReplies(qint64 now) const {
    while (!m_repliesSent.empty() && m_repliesSent.front() <= now - kReplyWindowMs)
        m_repliesSent.pop_front();
    m_slotUntil.removeIf([&](const auto &entry) { return entry.value() <= now; });
}

qint64 SendQueue::slotEnd(AutoReply kind, qint64 now) const {
    return now + m_intervals.value(int(kind), kPerSenderMs);
}

bool SendQueue::pushAutoReply(AutoReply kind, const QByteArray &sender, const QByteArray &line) {
    const qint64 now = m_nowMs();
    forgetOldReplies(now);
    const QByteArray key = slotKey(kind, sender);
    // One per sender and kind in the slot's time (counted from when the last
    // one was taken and again when it left), and the window's share in all,
    // counting those still waiting: the waiting ones stay few.
    const bool waiting = std::any_of(m_replies.begin(), m_replies.end(),
                                     [&](const Reply &reply) { return reply.key == key; });
    if (waiting || m_slotUntil.contains(key) ||
        qsizetype(m_repliesSent.size() + m_replies.size()) >= kRepliesPerWindow)
        return false;
    m_slotUntil.insert(key, slotEnd(kind, now));
    m_replies.push_back({line, key, kind, sender});
    return true;
}

QByteArray SendQueue::slotKey(AutoReply kind, const QByteArray &sender) {
    return QByteArray::number(int(kind)) + ' ' + foldCase(sender);
}

void SendQueue::holdSlot(AutoReply kind, const QByteArray &sender, qint64 untilMs) {
    const QByteArray key = slotKey(kind, sender);
    m_slotUntil.insert(key, std::max(untilMs, m_slotUntil.value(key)));
}

QList<QByteArray> SendQueue::takeRepliedTo(AutoReply kind) {
    QList<QByteArray> senders;
    m_repliedTo.removeIf([&](const auto &entry) {
        if (entry.first == kind)
            senders.append(entry.second);
        return entry.first == kind;
    });
    return senders;
}

QList<QByteArray> SendQueue::takeControl() {
    QList<QByteArray> lines;
    lines.swap(m_control);
    return lines;
}

void SendQueue::forgetReturned(qint64 now) const {
    while (!m_returns.empty() && m_returns.front() <= now)
        m_returns.pop_front();
}

void SendQueue::charge(qint64 now, qsizetype bytes) {
    m_paceEnd = std::max(m_paceEnd, now) + costMs(bytes + 2);
    m_returns.push_back(m_paceEnd);
}

QList<QByteArray> SendQueue::takeReady(const PlainTarget &plainTarget) {
    QList<QByteArray> ready;
    const qint64 now = m_nowMs();
    forgetReturned(now);
    // A line takes a share of the burst that comes back once the server has
    // had the line's time: shares come back one after another, so past the
    // burst the lines leave one per interval.
    while (!m_lines.empty() && m_returns.size() < std::size_t(kBurst)) {
        Entry entry = std::move(m_lines.front());
        m_lines.pop_front();
        // Decided as it leaves: the channel's modes may be known only now.
        if (entry.textAt >= 0 && plainTarget && plainTarget(entry.target)) {
            const QByteArray text =
                stripFormatCodes(QByteArrayView(entry.line).sliced(entry.textAt));
            if (text.isEmpty())
                continue; // nothing but codes
            entry.line = entry.line.left(entry.textAt) + text;
        }
        charge(now, entry.line.size());
        ready.append(entry.line);
    }
    if (!m_lines.empty())
        return ready;
    forgetOldReplies(now);
    while (!m_replies.empty() && m_repliesSent.size() < std::size_t(kRepliesPerWindow)) {
        m_repliesSent.push_back(now);
        m_slotUntil.insert(m_replies.front().key, slotEnd(m_replies.front().kind, now));
        m_repliedTo.append({m_replies.front().kind, m_replies.front().sender});
        ready.append(std::move(m_replies.front().line));
        m_replies.pop_front();
    }
    return ready;
}

qint64 SendQueue::msUntilNext() const {
    const qint64 now = m_nowMs();
    if (!m_lines.empty()) {
        forgetReturned(now);
        if (m_returns.size() < std::size_t(kBurst))
            return 0;
        return m_returns.front() - now;
    }
    if (m_replies.empty())
        return -1;
    forgetOldReplies(now);
    if (m_repliesSent.size() < std::size_t(kRepliesPerWindow))
        return 0;
    return m_repliesSent.front() + kReplyWindowMs - now;
}

void SendQueue::connectionEnded() {
    m_control.clear();
    // A reply that never left takes nobody's slot.
    for (const Reply &reply : m_replies)
        m_slotUntil.remove(reply.key);
    m_replies.clear();
}

QList<QPair<QString, int>> SendQueue::takeDropped() {
    QList<QPair<QString, int>> dropped;
    dropped.swap(m_dropped);
    return dropped;
}

} // namespace irc
