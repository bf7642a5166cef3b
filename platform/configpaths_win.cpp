#include "platform/configpaths.h"

#include "platform/knownfolders_win.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

// Where the settings file used to be. A 64-bit program of a user who is not
// an administrator cannot write there, so it is only ever read, once, to
// carry its settings over.
const QString kOldSettingsFile = QStringLiteral("C:\\WINDOWS\\SYSTEM\\zorvel.ini");

// %APPDATA%, the user's roaming configuration folder; asked of the system
// when the environment does not say.
QString roamingAppData() {
    const QString configured = qEnvironmentVariable("APPDATA");
    return configured.isEmpty() ? roamingAppDataFolder() : QDir::fromNativeSeparators(configured);
}

} // namespace

QString settingsFile() {
    const QString appData = roamingAppData();
    if (appData.isEmpty())
        return kOldSettingsFile;
    const QString file = appData + QStringLiteral("/zorvel/zorvel.ini");
    // A user coming from the old place keeps every setting: the first look at
    // a missing file starts it from a copy of the old one.
    if (!QFileInfo::exists(file) && QFileInfo(kOldSettingsFile).isFile()) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        // The copy lands under the real name only when whole.
        const QString partial = file + QStringLiteral(".old");
        QFile::remove(partial);
        if (QFile::copy(kOldSettingsFile, partial) && !QFile::rename(partial, file))
            QFile::remove(partial);
        QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
    }
    return file;
}

} // namespace platform
