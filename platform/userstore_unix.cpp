#include "userstore.h"
#include "userstore_os.h"

#include <QDir>

namespace platform {

// QSettings works out its default per-user paths once per process, so the
// store is opened by an explicit file name, resolved from the environment at
// each call: an INI file there is exactly Qt's native format.
std::unique_ptr<QSettings> openUserStore(const QString &application) {
    const QString file =
        QStringLiteral("%1/%2/%3.conf")
            .arg(userConfigFolder(), QLatin1String(kStoreOrganisation), application);
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

QString userConfigFolder() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace platform
