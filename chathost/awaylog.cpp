#include "awaylog.h"

#include "chathost/transcriptlog.h"
#include "platform/replacefile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace chathost {

namespace {

constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

QByteArray escapeField(const QString &field) {
    // Backslashes are doubled first, so a TAB's \t cannot be read as anything else.
    return TranscriptLog::escape(field.toUtf8()).replace('\t', "\\t");
}

QString unescapeField(const QByteArray &field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char next = field[++i];
        out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return QString::fromUtf8(out);
}

} // namespace

QByteArray formatAwayRecord(const AwayRecord &record) {
    const QByteArray channel = record.channel.isEmpty() ? "-" : escapeField(record.channel);
    return record.time.toUTC().toString(Qt::ISODate).toUtf8() + '\t' + escapeField(record.network) +
           '\t' + channel + '\t' + escapeField(record.sender) + '\t' + escapeField(record.text) +
           '\n';
}

std::optional<AwayRecord> parseAwayRecord(const QByteArray &line) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 5)
        return std::nullopt;
    AwayRecord record;
    record.time = QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODate);
    if (!record.time.isValid())
        return std::nullopt;
    record.network = unescapeField(fields[1]);
    record.channel = fields[2] == "-" ? QString() : unescapeField(fields[2]);
    record.sender = unescapeField(fields[3]);
    record.text = unescapeField(fields[4]);
    return record;
}

bool makePrivateFolder(const QString &folder, QString *error) {
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerOnly | QFile::ExeOwner)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    return true;
}

AwayLog::AwayLog(const QString &folder) : m_folder(folder) {}

QString AwayLog::path() const { return m_folder + QStringLiteral("/away.log"); }

bool AwayLog::open(QString *error) {
    if (m_file.isOpen())
        return true;
    if (!makePrivateFolder(m_folder, error))
        return false;
    m_file.setFileName(path());
    if (!m_file.open(QIODevice::ReadWrite, kOwnerOnly) || !m_file.setPermissions(kOwnerOnly)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path(), m_file.errorString());
        m_file.close();
        return false;
    }
    // A record a crash cut short is no record: the file goes on after the last whole one.
    const QByteArray contents = m_file.readAll();
    m_count = contents.count('\n');
    m_file.resize(contents.lastIndexOf('\n') + 1);
    m_file.seek(m_file.size());
    return true;
}

qsizetype AwayLog::append(const AwayRecord &record, QString *error) {
    if (!open(error))
        return -1;
    const QByteArray line = formatAwayRecord(record);
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path(), m_file.errorString());
        return -1;
    }
    if (++m_count < kMaxRecords)
        return 0;
    m_file.seek(0);
    QList<QByteArray> lines = m_file.readAll().split('\n');
    lines.removeLast(); // after the last LF
    // At least the bound's share, unless the file was cut meanwhile.
    const qsizetype dropped = std::max<qsizetype>(0, lines.size() - kKeptRecords);
    m_file.close();
    const QByteArray kept = lines.sliced(dropped).join('\n') + '\n';
    if (const auto failure = platform::replaceFile(path(), kept)) {
        *error = failure->reason;
        return -1;
    }
    return dropped;
}

QList<AwayRecord> AwayLog::records() const {
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<AwayRecord> records;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (auto record = parseAwayRecord(line))
            records.append(*record);
    }
    return records;
}

bool AwayLog::isEmpty() const { return QFileInfo(path()).size() == 0; }

void AwayLog::archive() {
    m_file.close();
    m_count = 0;
    if (!QFile::exists(path()))
        return; // the last archive stays
    const QString archived = path() + QStringLiteral(".1");
    QFile::remove(archived);
    QFile::rename(path(), archived);
}

} // namespace chathost
