#include "awaystate.h"

#include "chathost/awaylog.h"

#include <QFile>
#include <QSaveFile>

namespace chathost {

AwayPeriod AwayPeriod::next(const QString &newReason, const QDateTime &now) const {
    AwayPeriod period = *this;
    if (newReason.isEmpty()) {
        if (isAway())
            period.until = now;
        return period;
    }
    if (!isAway()) {
        period = AwayPeriod();
        period.since = now;
    }
    period.reason = newReason;
    return period;
}

void AwayPeriod::noteReply(const SentAwayReply &reply) {
    replies.removeIf([&](const SentAwayReply &known) {
        return known.network == reply.network &&
               known.nick.compare(reply.nick, Qt::CaseInsensitive) == 0;
    });
    replies.append(reply);
}

AwayStateFile::AwayStateFile(const QString &folder) : m_folder(folder) {}

QString AwayStateFile::path() const { return m_folder + QStringLiteral("/away.state"); }

// The file is written and read as the log's records are: first the period
// (since, until or "-" while away, the dropped count, "-", the reason), then
// a line per reply sent (when, network, "-", nick, nothing).
AwayPeriod AwayStateFile::load() const {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    const auto record = parseAwayRecord(lines.takeFirst());
    if (!record)
        return {};
    AwayPeriod period;
    period.since = record->time;
    period.until = QDateTime::fromString(record->network, Qt::ISODate);
    period.dropped = record->channel.toLongLong();
    period.reason = record->text;
    for (const QByteArray &line : std::as_const(lines)) {
        if (const auto reply = parseAwayRecord(line))
            period.replies.append({reply->time, reply->network, reply->sender});
    }
    return period;
}

bool AwayStateFile::save(const AwayPeriod &period, QString *error) const {
    if (!makePrivateFolder(m_folder, error))
        return false;
    const AwayRecord record{period.since,
                            period.until.isValid() ? period.until.toString(Qt::ISODate)
                                                   : QStringLiteral("-"),
                            QString::number(period.dropped), QStringLiteral("-"), period.reason};
    QByteArray contents = formatAwayRecord(record);
    for (const SentAwayReply &reply : period.replies)
        contents += formatAwayRecord({reply.at, reply.network, {}, reply.nick, {}});
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) || file.write(contents) < 0 ||
        !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path(), file.errorString());
        return false;
    }
    return true;
}

} // namespace chathost
