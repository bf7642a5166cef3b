#include "platform/replacefile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <windows.h>

namespace platform {

namespace {

const wchar_t *native(const QString &path) {
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

QString systemText(DWORD error) {
    wchar_t *text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed()
                             : QStringLiteral("error %1").arg(error);
    ::LocalFree(text);
    return message;
}

ReplaceFailure failure(const char *step, const QString &file, DWORD error) {
    using Kind = ReplaceFailure::Kind;
    const Kind kind =
        error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == ERROR_FILE_TOO_LARGE
            ? Kind::DiskFull
        : error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                error == ERROR_WRITE_PROTECT
            ? Kind::AccessDenied
            : Kind::WriteFault;
    return {kind, QStringLiteral("%1 %2: %3")
                      .arg(QLatin1String(step), QDir::toNativeSeparators(file), systemText(error))};
}

} // namespace

std::optional<ReplaceFailure> replaceFile(const QString &target, const QByteArray &bytes) {
    const QFileInfo info(target);
    const QString copy =
        QDir::toNativeSeparators(replacementCopy(info.absolutePath(), info.fileName()));
    const QString targetPath = QDir::toNativeSeparators(target);

    ::DeleteFileW(native(copy)); // what a writer killed mid-write left
    const HANDLE file = ::CreateFileW(native(copy), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return failure("creating", copy, ::GetLastError());
    const auto abandon = [&](const char *step, DWORD error, bool open) {
        if (open)
            ::CloseHandle(file);
        ::DeleteFileW(native(copy));
        return failure(step, copy, error);
    };

    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<qsizetype>(left, 1 << 30));
        if (!::WriteFile(file, at, chunk, &written, nullptr))
            return abandon("writing", ::GetLastError(), true);
        if (written == 0)
            return abandon("writing", ERROR_WRITE_FAULT, true);
        at += written;
        left -= qsizetype(written);
    }
    if (!::FlushFileBuffers(file))
        return abandon("flushing", ::GetLastError(), true);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return abandon("checking", ::GetLastError(), true);
    if (size.QuadPart != bytes.size())
        return abandon("checking the size of", ERROR_WRITE_FAULT, true);
    if (!::CloseHandle(file))
        return abandon("closing", ::GetLastError(), false);
    if (!::MoveFileExW(native(copy), native(targetPath),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return abandon("renaming", ::GetLastError(), false);
    return std::nullopt;
}

} // namespace platform
