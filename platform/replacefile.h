#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Why a file was not replaced.
struct ReplaceFailure {
    enum class Kind {
        AccessDenied, // the copy could not be made or put in place for want of rights
        DiskFull,     // no room for it: a full disk, a quota or a file size limit
        WriteFault,   // any other failure to write it out
    };
    Kind kind;
    QString reason; // the step, the file concerned and the system's own words
};

// The one fixed name the new text of `target` goes under before its rename:
// hidden, beside it, so a writer killed mid-write leaves at most this copy,
// which the next write replaces.
inline QString replacementCopy(const QString &directory, const QString &fileName) {
    return directory + QStringLiteral("/.") + fileName + QStringLiteral(".new");
}

// Puts `bytes` in place of the file `target` whole, or changes nothing. They
// are written to the replacement copy with every step checked (each write,
// the flush to the disk, the size the copy holds, its closing) and only then
// renamed over `target`; on any failure the copy is removed and `target` is
// left byte for byte as it was. A copy of an existing `target` takes its
// permissions. `target` is a real file's path, not a link's.
std::optional<ReplaceFailure> replaceFile(const QString &target, const QByteArray &bytes);

} // namespace platform
