#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <optional>

namespace chathost {

// One line said to the user, or about them, while they were away.
struct AwayRecord {
    QDateTime time; // UTC, whole seconds
    QString network;
    QString channel; // empty: a private message
    QString sender;
    QString text; // as it came, IRC formatting codes and all

    bool operator==(const AwayRecord &) const = default;
};

// The record's line, LF included: time (ISO 8601, UTC), network, channel
// ("-" for a private message), sender and text, TAB between them, UTF-8,
// with TAB, CR, LF and backslash inside a field written \t, \r, \n, \\, so
// that no text can end its record or forge another.
QByteArray formatAwayRecord(const AwayRecord &record);
// The record of one line (without its LF); nothing for a line that holds none.
std::optional<AwayRecord> parseAwayRecord(const QByteArray &line);

// away.log: what was said to the user while away, one record a line, each
// appended and flushed as it comes, in a folder only the user can enter and
// a file only they can read. It stays bounded: at kMaxRecords it is written
// anew (a new file, then a rename) with the newest kKeptRecords.
class AwayLog {
public:
    static constexpr qsizetype kMaxRecords = 10'000;
    static constexpr qsizetype kKeptRecords = 9'000;

    explicit AwayLog(const QString &folder);

    QString path() const;
    // Appends the record. The number of older records the bound dropped
    // (mostly 0); -1, with the reason, when the file cannot be written.
    qsizetype append(const AwayRecord &record, QString *error);
    // Every record the file holds, oldest first.
    QList<AwayRecord> records() const;
    bool isEmpty() const;
    // The file becomes away.log.1 (replacing an older one): what comes next
    // starts a new one.
    void archive();

private:
    bool open(QString *error);

    QString m_folder;
    QFile m_file;
    qsizetype m_count = 0;
};

// Makes the folder (and its parents) when missing, and only the user's.
bool makePrivateFolder(const QString &folder, QString *error);

} // namespace chathost
