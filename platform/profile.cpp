#include "profile.h"

#include "platform/profiledocument.h"
#include "platform/replacefile.h"
#include "platform/writelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <optional>

namespace platform {

namespace {

// The file's bytes, empty when it does not exist; nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString &file) {
    QFile in(file);
    if (!in.exists())
        return QByteArray();
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    return in.readAll();
}

// A C string: at most size - 1 bytes, then a NUL.
int copyString(const QByteArray &text, char *buffer, int size) {
    const int count = int(qMin<qsizetype>(text.size(), size - 1));
    std::memcpy(buffer, text.constData(), std::size_t(count));
    buffer[count] = '\0';
    return count;
}

// Each name followed by a NUL, the list by one more; a list too long for the
// buffer is cut and still ends in two NULs.
int copyList(const QList<QByteArray> &names, char *buffer, int size) {
    QByteArray list;
    for (const QByteArray &name : names)
        list += name + '\0';
    if (list.size() < size) {
        std::memcpy(buffer, list.constData(), std::size_t(list.size()));
        buffer[list.size()] = '\0';
        return int(list.size());
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.constData(), std::size_t(size - 2));
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
}

// The file a write replaces: a link is followed to the file it names, so the
// link stays.
QFileInfo finalTarget(const QString &file) {
    QFileInfo info(file);
    for (int links = 0; info.isSymLink() && links < 40; ++links)
        info.setFile(info.symLinkTarget());
    return info;
}

// One pair of matching enclosing quotes, single or double, comes off.
QByteArray unquoted(const QByteArray &value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

int getPrivateProfileString(const char *section, const char *key, const char *defaultValue,
                            char *buffer, int bufferSize, const QString &file) {
    if (!buffer || bufferSize <= 0)
        return 0;
    const ProfileDocument document(readFile(file).value_or(QByteArray()));
    if (!section)
        return copyList(document.sectionNames(), buffer, bufferSize);
    if (!key)
        return copyList(document.keyNames(section), buffer, bufferSize);
    // Quotes come off before the cut, so a quoted value of bufferSize - 1
    // characters comes back whole.
    if (const auto value = document.value(section, key))
        return copyString(unquoted(*value), buffer, bufferSize);
    // The default loses its trailing blanks, then its quotes as a stored
    // value does.
    QByteArray fallback(defaultValue ? defaultValue : "");
    while (fallback.endsWith(' '))
        fallback.chop(1);
    return copyString(unquoted(fallback), buffer, bufferSize);
}

bool writePrivateProfileString(const char *section, const char *key, const char *value,
                               const QString &file, ProfileError *error, QString *reason) {
    const auto fail = [error, reason](ProfileError code, const QString &why) {
        if (error)
            *error = code;
        if (reason)
            *reason = why;
        return false;
    };
    if (error)
        *error = ProfileError::None;
    // All three null asks only to flush a cache, and there is none: it fails
    // without a reason, as the original does.
    if (!section && !key && !value)
        return false;
    if (!section)
        return fail(ProfileError::FileNotFound, QStringLiteral("no section given"));
    const QFileInfo info(file);
    if (file.isEmpty() || !info.absoluteDir().exists())
        return fail(ProfileError::PathNotFound,
                    QStringLiteral("the folder of %1 does not exist").arg(file));

    // Read, edit and replace under one lock, so that concurrent writers in
    // other processes never lose each other's keys.
    WriteLock lock(file);
    if (!lock.isHeld())
        return fail(ProfileError::AccessDenied,
                    QStringLiteral("the folder of %1 cannot be locked").arg(file));

    const auto before = readFile(file);
    if (!before)
        return fail(ProfileError::AccessDenied, QStringLiteral("%1 cannot be read").arg(file));
    ProfileDocument document(*before);
    const bool changed = !key     ? document.removeSection(section)
                         : !value ? document.removeKey(section, key)
                                  : document.setValue(section, key, value);
    const QByteArray after = document.toBytes();
    if (!changed || after == *before)
        return true;

    // Whole or not at all: a crash at any moment leaves either the old file
    // or the new one, and a failed write the old one.
    const QFileInfo target = finalTarget(file);
    if (target.exists() && !target.isWritable())
        return fail(ProfileError::AccessDenied,
                    QStringLiteral("%1 is read-only").arg(target.filePath()));
    if (const auto failure = replaceFile(target.filePath(), after)) {
        using Kind = ReplaceFailure::Kind;
        return fail(failure->kind == Kind::DiskFull       ? ProfileError::DiskFull
                    : failure->kind == Kind::AccessDenied ? ProfileError::AccessDenied
                                                          : ProfileError::WriteFault,
                    failure->reason);
    }
    lock.syncFolder();
    return true;
}

} // namespace platform
