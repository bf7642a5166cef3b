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
    if (!isAway())
        period = AwayPeriod{now, {}, {}, 0};
    period.reason = newReason;
    return period;
}

AwayStateFile::AwayStateFile(const QString &folder) : m_folder(folder) {}

QString AwayStateFile::path() const { return m_folder + QStringLiteral("/away.state"); }

// The file is one away record: since, until ("-" while away), the dropped
// count, "-", the reason; so it is written and read as the log's records are.
AwayPeriod AwayStateFile::load() const {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    const auto record = parseAwayRecord(line);
    if (!record)
        return {};
    AwayPeriod period;
    period.since = record->time;
    period.until = QDateTime::fromString(record->network, Qt::ISODate);
    period.dropped = record->channel.toLongLong();
    period.reason = record->text;
    return period;
}

bool AwayStateFile::save(const AwayPeriod &period, QString *error) const {
    if (!makePrivateFolder(m_folder, error))
        return false;
    const AwayRecord record{period.since,
                            period.until.isValid() ? period.until.toString(Qt::ISODate)
                                                   : QStringLiteral("-"),
                            QString::number(period.dropped), QStringLiteral("-"), period.reason};
    QSaveFile file(path());
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner) ||
        file.write(formatAwayRecord(record)) < 0 || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path(), file.errorString());
        return false;
    }
    return true;
}

} // namespace chathost
