#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace chathost {

// The transcript file: one record per posted line, flushed at once, so that
// another process can follow it while chathost runs.
class TranscriptLog {
public:
    // Opens (appends to) the file; false with the reason when it cannot.
    bool open(const QString &path, QString *error);
    void write(const QString &room, const QByteArray &line1252);

    // The line's bytes with backslash, CR and LF written as \\, \r and \n.
    static QByteArray escape(const QByteArray &line1252);
    // One record: milliseconds since the epoch, TAB, room (UTF-8), TAB, line, LF.
    static QByteArray record(qint64 msSinceEpoch, const QString &room, const QByteArray &line1252);

private:
    QFile m_file;
};

} // namespace chathost
