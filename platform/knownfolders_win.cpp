#include "knownfolders_win.h"

#include <QDir>
#include <windows.h>

#include <shlobj.h>

namespace platform {

namespace {

QString knownFolder(REFKNOWNFOLDERID id) {
    PWSTR folder = nullptr;
    QString found;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &folder)))
        found = QDir::fromNativeSeparators(QString::fromWCharArray(folder));
    CoTaskMemFree(folder);
    return found;
}

} // namespace

QString roamingAppDataFolder() { return knownFolder(FOLDERID_RoamingAppData); }

QString localAppDataFolder() { return knownFolder(FOLDERID_LocalAppData); }

} // namespace platform
