#include "profile.h"

#include "profiledocument.h"
#include "writelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>
#include <filesystem>
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
    QByteArray fallback(defaultValue ? defaultValue : "");
    while (fallback.endsWith(' '))
        fallback.chop(1);
    return copyString(fallback, buffer, bufferSize);
}

bool writePrivateProfileString(const char *section, const char *key, const char *value,
                               const QString &file, ProfileError *error) {
    const auto fail = [error](ProfileError reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (error)
        *error = ProfileError::None;
    // All three null asks only to flush a cache, and there is none: it fails
    // without a reason, as the original does.
    if (!section && !key && !value)
        return false;
    if (!section)
        return fail(ProfileError::FileNotFound);
    const QFileInfo info(file);
    if (file.isEmpty() || !info.absoluteDir().exists())
        return fail(ProfileError::PathNotFound);

    // Read, edit and replace under one lock, so that concurrent writers in
    // other processes never lose each other's keys.
    WriteLock lock(file);
    if (!lock.isHeld())
        return fail(ProfileError::AccessDenied);

    const auto before = readFile(file);
    if (!before)
        return fail(ProfileError::AccessDenied);
    ProfileDocument document(*before);
    const bool changed = !key     ? document.removeSection(section)
                         : !value ? document.removeKey(section, key)
                                  : document.setValue(section, key, value);
    const QByteArray after = document.toBytes();
    if (!changed || after == *before)
        return true;

    // The new text goes to disk under one fixed name beside the file and is
    // renamed over it: a crash at any moment leaves either the old file or the
    // new one, and at most that one copy, which the next write replaces.
    // (Saved straight over the file, a crash could leave a copy under a new
    // random name each time.)
    const QFileInfo target = finalTarget(file);
    if (target.exists() && !target.isWritable())
        return fail(ProfileError::AccessDenied);
    const QString fresh =
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".new");
    QFile::remove(fresh);
    QSaveFile out(fresh);
    if (!out.open(QIODevice::WriteOnly) ||
        (target.exists() && !out.setPermissions(target.permissions())) ||
        out.write(after) != after.size() || !out.commit())
        return fail(ProfileError::AccessDenied);
    std::error_code renameError;
    std::filesystem::rename(std::filesystem::path(fresh.toStdU16String()),
                            std::filesystem::path(target.filePath().toStdU16String()), renameError);
    if (renameError) {
        QFile::remove(fresh);
        return fail(ProfileError::AccessDenied);
    }
    lock.syncFolder();
    return true;
}

} // namespace platform
