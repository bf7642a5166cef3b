#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace chathost {

// An away reply that left.
struct SentAwayReply {
    QDateTime at; // UTC
    QString network;
    QString nick;
};

// One away period: from a SetAway with a reason to one without.
struct AwayPeriod {
    QDateTime since; // UTC; unset: never away
    QDateTime until; // UTC; unset while away
    QString reason;
    qsizetype dropped = 0; // records the log's bound dropped meanwhile
    // The last away reply to each sender, so that a chathost started again
    // keeps to one per sender in the autoreply minutes.
    QList<SentAwayReply> replies;

    bool isAway() const { return since.isValid() && !until.isValid(); }
    // The period after a SetAway with `reason` (empty: back) at `now`: a new
    // one when away starts, the same with the new reason while away.
    AwayPeriod next(const QString &reason, const QDateTime &now) const;
    void noteReply(const SentAwayReply &reply);
};

// away.state beside the away log: the period, so that a chathost started
// again goes on with it. Replaced whole at each change.
class AwayStateFile {
public:
    explicit AwayStateFile(const QString &folder);

    QString path() const;
    // What the file says; a period never away when it is missing or unreadable.
    AwayPeriod load() const;
    // False, with the reason, when the file cannot be replaced.
    bool save(const AwayPeriod &period, QString *error) const;

private:
    QString m_folder;
};

} // namespace chathost
