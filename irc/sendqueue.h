#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace irc {

// The lines waiting to go to the server, in three classes drained in order:
// - control lines (registration, CAP/SASL, PING/PONG, JOIN, MODE, AWAY, QUIT)
//   leave at once, never held behind anything;
// - chat lines (what the user and zorvel post) are paced as a considerate
//   client paces them, so no server takes them for a flood: a burst of kBurst
//   lines leaves at once, then, as each line's time passes, one line per 2 s
//   plus 1 s per 120 bytes of the lines already sent. At most `capacity`
//   wait: past that the oldest go, counted per target;
// - automatic replies (CTCP answers, away replies) leave only when no chat
//   line waits, at most one per sender and kind in the kind's interval (10 s
//   unless set) and kRepliesPerWindow a minute in all; beyond that they are
//   dropped, so that others' requests never cost
//   the user a line or a second. They take no share of the chat's pacing:
//   at four a minute they cannot set off a server's flood limit, while a
//   share they took would hold the user's next line back by seconds.
class SendQueue {
public:
    static constexpr int kBurst = 4;
    static constexpr qint64 kIntervalMs = 2000;
    static constexpr qint64 kBytesPerSecond = 120;
    static constexpr int kDefaultCapacity = 64;
    static constexpr qint64 kPerSenderMs = 10'000;
    static constexpr qint64 kReplyWindowMs = 60'000;
    static constexpr int kRepliesPerWindow = 4;

    // The kinds of automatic reply; each has its own slot per sender.
    enum class AutoReply { Ctcp, Away };

    // `nowMs` reads the clock (milliseconds, any origin); tests own it.
    explicit SendQueue(std::function<qint64()> nowMs, int capacity = kDefaultCapacity);

    void pushControl(const QByteArray &line);
    // A chat line (without CR LF). `target` is the channel it speaks to, for
    // the count of lines dropped; the line's text from `textAt` on (-1: none)
    // loses its formatting codes when it leaves for a target that refuses them.
    void push(const QByteArray &line, const QString &target = {}, qsizetype textAt = -1);
    // An automatic reply to `sender`; false when the limits drop it.
    bool pushAutoReply(AutoReply kind, const QByteArray &sender, const QByteArray &line);
    // At most one reply of the kind per sender in `ms`, counted from when the
    // last one was taken and again from when it left.
    void setReplyInterval(AutoReply kind, qint64 ms) { m_intervals.insert(int(kind), ms); }
    // Holds the sender's slot of the kind until `untilMs`: a reply that left
    // before the queue was made (an earlier run's) still counts.
    void holdSlot(AutoReply kind, const QByteArray &sender, qint64 untilMs);
    // The senders whose replies of the kind left since the last call.
    QList<QByteArray> takeRepliedTo(AutoReply kind);

    // The control lines, all of them.
    QList<QByteArray> takeControl();
    // Whether a target refuses formatting codes, asked as its lines leave.
    using PlainTarget = std::function<bool(const QString &target)>;
    // The chat lines that may leave now, then the automatic replies that may;
    // each is counted as sent.
    QList<QByteArray> takeReady(const PlainTarget &plainTarget = {});
    // Milliseconds until the next chat line or reply may leave; -1 when none waits.
    qint64 msUntilNext() const;
    // No chat line waits.
    bool isEmpty() const { return m_lines.empty(); }
    qsizetype size() const { return qsizetype(m_lines.size()); }
    qsizetype repliesWaiting() const { return qsizetype(m_replies.size()); }
    // A connection ended: its control lines and the replies waiting go; the
    // chat lines stay for the next one.
    void connectionEnded();

    // Lines dropped since the last call, per target (oldest first).
    QList<QPair<QString, int>> takeDropped();

    // How long the server needs for a line of this many bytes.
    static qint64 costMs(qsizetype bytes);

private:
    struct Entry {
        QByteArray line;
        QString target;
        qsizetype textAt = -1;
    };
    struct Reply {
        QByteArray line;
        QByteArray key; // the kind and the sender
        AutoReply kind;
        QByteArray sender;
    };
    static QByteArray slotKey(AutoReply kind, const QByteArray &sender);
    void forgetReturned(qint64 now) const;
    void charge(qint64 now, qsizetype bytes);
    void forgetOldReplies(qint64 now) const;
    qint64 slotEnd(AutoReply kind, qint64 now) const;

    std::function<qint64()> m_nowMs;
    int m_capacity;
    QList<QByteArray> m_control;
    std::deque<Entry> m_lines;
    // When each of the last lines' share of the burst comes back, in order.
    mutable std::deque<qint64> m_returns;
    qint64 m_paceEnd = 0;
    QList<QPair<QString, int>> m_dropped;
    std::deque<Reply> m_replies;
    mutable std::deque<qint64> m_repliesSent; // in the last window
    // Per kind and sender: until when its slot is taken (from taking or sending).
    mutable QHash<QByteArray, qint64> m_slotUntil;
    QHash<int, qint64> m_intervals; // per kind, where not kPerSenderMs
    QList<QPair<AutoReply, QByteArray>> m_repliedTo;
};

} // namespace irc
