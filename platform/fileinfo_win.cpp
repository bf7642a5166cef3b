#include "platform/fileinfo.h"

#include <QDir>
#include <windows.h>

namespace platform {

bool isOrdinaryFile(const QString &path) {
    const DWORD attributes =
        GetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()));
    constexpr DWORD notOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & notOrdinary);
}

} // namespace platform
