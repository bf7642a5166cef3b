#include "platform/replacefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

ReplaceFailure failure(const char *step, const QString &file, int error) {
    using Kind = ReplaceFailure::Kind;
    const Kind kind = error == ENOSPC || error == EDQUOT || error == EFBIG  ? Kind::DiskFull
                      : error == EACCES || error == EPERM || error == EROFS ? Kind::AccessDenied
                                                                            : Kind::WriteFault;
    return {kind,
            QStringLiteral("%1 %2: %3")
                .arg(QLatin1String(step), file, QString::fromLocal8Bit(std::strerror(error)))};
}

// All of `bytes`, however many calls that takes; false with errno set.
bool writeAll(int fd, const QByteArray &bytes) {
    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        at += written;
        left -= written;
    }
    return true;
}

} // namespace

std::optional<ReplaceFailure> replaceFile(const QString &target, const QByteArray &bytes) {
    const QFileInfo info(target);
    const QString copy = replacementCopy(info.absolutePath(), info.fileName());
    const QByteArray copyPath = QFile::encodeName(copy);
    const QByteArray targetPath = QFile::encodeName(target);

    ::unlink(copyPath.constData()); // what a writer killed mid-write left
    const int fd = ::open(copyPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure("creating", copy, errno);
    const auto abandon = [&](const char *step, int error, bool open) {
        if (open)
            ::close(fd);
        ::unlink(copyPath.constData());
        return failure(step, copy, error);
    };

    struct stat status {};
    if (::stat(targetPath.constData(), &status) == 0 && ::fchmod(fd, status.st_mode & 07777) != 0)
        return abandon("setting the permissions of", errno, true);
    if (!writeAll(fd, bytes))
        return abandon("writing", errno, true);
    // A disk that delays its allocation says it is full only here.
    if (::fsync(fd) != 0)
        return abandon("flushing", errno, true);
    if (::fstat(fd, &status) != 0)
        return abandon("checking", errno, true);
    if (status.st_size != bytes.size())
        return abandon("checking the size of", EIO, true);
    // Closed either way, and no longer ours to close again.
    if (::close(fd) != 0)
        return abandon("closing", errno, false);
    if (::rename(copyPath.constData(), targetPath.constData()) != 0)
        return abandon("renaming", errno, false);
    return std::nullopt;
}

} // namespace platform
