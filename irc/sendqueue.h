#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace irc {

// The lines waiting to go to the server, paced as a considerate client paces
// them, so no server takes them for a flood: a burst of kBurst lines leaves at
// once, then, as each line's time passes, one line per 2 s plus 1 s per
// 120 bytes of the lines already sent.
// The queue holds at most
// `capacity` lines: past that the oldest go, counted per target.
class SendQueue {
public:
    static constexpr int kBurst = 4;
    static constexpr qint64 kIntervalMs = 2000;
    static constexpr qint64 kBytesPerSecond = 120;
    static constexpr int kDefaultCapacity = 64;

    // `nowMs` reads the clock (milliseconds, any origin); tests own it.
    explicit SendQueue(std::function<qint64()> nowMs, int capacity = kDefaultCapacity);

    // A line for the server (without CR LF). `target` is the channel it
    // speaks to, for the count of lines dropped.
    void push(const QByteArray &line, const QString &target = {});

    // The lines that may leave now, in order; each is counted as sent.
    QList<QByteArray> takeReady();
    // Milliseconds until the next queued line may leave; -1 when none waits.
    qint64 msUntilNext() const;
    bool isEmpty() const { return m_lines.empty(); }
    qsizetype size() const { return qsizetype(m_lines.size()); }
    // Forgets every queued line and the pacing (a new connection).
    void clear();

    // Lines dropped since the last call, per target (oldest first).
    QList<QPair<QString, int>> takeDropped();

    // How long the server needs for a line of this many bytes.
    static qint64 costMs(qsizetype bytes);

private:
    struct Entry {
        QByteArray line;
        QString target;
    };
    void forgetReturned(qint64 now) const;

    std::function<qint64()> m_nowMs;
    int m_capacity;
    std::deque<Entry> m_lines;
    // When each of the last lines' share of the burst comes back, in order.
    mutable std::deque<qint64> m_returns;
    qint64 m_paceEnd = 0;
    QList<QPair<QString, int>> m_dropped;
};

} // namespace irc
