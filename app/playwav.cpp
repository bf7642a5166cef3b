#include "playwav.h"

#include "fileinfo.h"
#include "sound.h"

#include <QCoreApplication>
#include <QDir>

namespace app {

void playWav(const QString &path) {
    if (!platform::isOrdinaryFile(path))
        return;
    platform::playSoundAsync(path);
}

QString clickSoundPath() {
#ifdef _WIN32
    // On Windows the sound lies beside the program, built or installed.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/menu.wav");
#endif
    const QString here = QDir(QCoreApplication::applicationDirPath()).canonicalPath();
    const QString buildBin = QDir(QStringLiteral(ZORVEL_BUILD_BIN_DIR)).canonicalPath();
    if (!buildBin.isEmpty() && here == buildBin)
        return QStringLiteral(ZORVEL_BUILD_SOUND);
    return QDir::cleanPath(here + QStringLiteral("/" ZORVEL_INSTALLED_SOUND_FROM_BIN));
}

} // namespace app
