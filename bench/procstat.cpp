#include "procstat.h"

#include <QDir>
#include <QFile>

#include <ctime>

namespace procstat {

namespace {
// The number after `field` in a /proc status file, or -1.
qint64 statusField(const QString &path, const QByteArray &field) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}
QString procPath(qint64 pid) { return QStringLiteral("/proc/%1").arg(pid); }
} // namespace

qint64 peakResidentKib(qint64 pid) {
    return statusField(procPath(pid) + QStringLiteral("/status"), "VmHWM:");
}

qint64 residentKib(qint64 pid) {
    return statusField(procPath(pid) + QStringLiteral("/status"), "VmRSS:");
}

qint64 voluntarySwitches(qint64 pid) {
    qint64 total = 0;
    const QDir tasks(procPath(pid) + QStringLiteral("/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        total += std::max<qint64>(0, statusField(tasks.filePath(task) + QStringLiteral("/status"),
                                                 "voluntary_ctxt_switches:"));
    return total;
}

qint64 monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace procstat
