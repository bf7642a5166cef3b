#include "playwav.h"

#include "platform/fileinfo.h"
#include "platform/sound.h"

#include <QCoreApplication>
#include <QFile>

namespace app {

void playWav(const QString &path) {
    // A resource is no file on disk; it is there or not.
    const bool resource = path.startsWith(QLatin1String(":/"));
    if (resource ? !QFile::exists(path) : !platform::isOrdinaryFile(path))
        return;
    platform::playSoundAsync(path);
}

QString clickSoundPath() {
#ifdef _WIN32
    // On Windows the sound lies beside the program, built or installed.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/menu.wav");
#else
    return QStringLiteral(":/sounds/menu.wav");
#endif
}

} // namespace app
