#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line as chathost wrote it to its transcript.
struct TranscriptRecord {
    qint64 ms = 0;    // when it was posted, milliseconds since the epoch
    QString room;     // the room's name
    QByteArray bytes; // the line's raw Windows-1252 bytes, unescaped
};

// The records of a transcript file's contents (chathost --help says the
// format); a record still being written at the end is left out.
inline QList<TranscriptRecord> parseTranscript(const QByteArray &contents) {
    QList<TranscriptRecord> records;
    for (const QByteArray &line : contents.split('\n')) {
        const qsizetype tab1 = line.indexOf('\t');
        const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
        if (tab2 < 0)
            continue; // the empty piece after the last LF, or a record still being written
        TranscriptRecord record;
        record.ms = line.left(tab1).toLongLong();
        record.room = QString::fromUtf8(line.mid(tab1 + 1, tab2 - tab1 - 1));
        const QByteArray escaped = line.mid(tab2 + 1);
        for (qsizetype i = 0; i < escaped.size(); ++i) {
            char c = escaped[i];
            if (c == '\\' && i + 1 < escaped.size()) {
                const char next = escaped[++i];
                c = next == 'r' ? '\r' : next == 'n' ? '\n' : next;
            }
            record.bytes.append(c);
        }
        records.append(record);
    }
    return records;
}
