#include "transcriptlog.h"

#include <QDateTime>

namespace chathost {

bool TranscriptLog::open(const QString &path, QString *error) {
    m_file.setFileName(path);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    *error = m_file.errorString();
    return false;
}

void TranscriptLog::write(const QString &room, const QByteArray &line1252) {
    if (!m_file.isOpen())
        return;
    m_file.write(record(QDateTime::currentMSecsSinceEpoch(), room, line1252));
    m_file.flush();
}

QByteArray TranscriptLog::escape(const QByteArray &line1252) {
    QByteArray out;
    out.reserve(line1252.size());
    for (const char c : line1252) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

QByteArray TranscriptLog::record(qint64 msSinceEpoch, const QString &room,
                                 const QByteArray &line1252) {
    return QByteArray::number(msSinceEpoch) + '\t' + room.toUtf8() + '\t' + escape(line1252) + '\n';
}

} // namespace chathost
