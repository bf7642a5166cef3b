#include "userstore.h"

#include <QDir>
#include <QSettings>
#include <memory>

namespace platform {

namespace {

constexpr auto kOrganisation = "zorvel";

// QSettings works out its default per-user paths once per process, so on Unix
// the store is opened by an explicit file name, resolved from the environment
// at each call: an INI file there is exactly Qt's native format. On Windows the
// native format is the user's part of the registry, which needs no path.
std::unique_ptr<QSettings> openStore(const QString &application) {
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kOrganisation, application);
#else
    const QString file = QStringLiteral("%1/%2/%3.conf")
                             .arg(userConfigFolder(), QLatin1String(kOrganisation), application);
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
#endif
}

} // namespace

QString readUserValue(const QString &application, const QString &section, const QString &key) {
    return openStore(application)->value(section + u'/' + key).toString();
}

void writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value) {
    const auto store = openStore(application);
    store->setValue(section + u'/' + key, value);
    store->sync();
}

QString userConfigFolder() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace platform
