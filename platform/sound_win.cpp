#include "platform/sound.h"

#include <QDir>
#include <windows.h>

#include <mmsystem.h>

namespace platform {

void playSoundAsync(const QString &path) {
    // SND_ASYNC returns at once; SND_NODEFAULT keeps a file that cannot be
    // played silent instead of sounding the system's default beep.
    const QString native = QDir::toNativeSeparators(path);
    PlaySoundW(reinterpret_cast<LPCWSTR>(native.utf16()), nullptr,
               SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

} // namespace platform
