#include "platform/userstore.h"

#include <QSettings>
#include <memory>

namespace platform {

namespace {

// The user's part of the registry, opened afresh.
std::unique_ptr<QSettings> openUserStore(const QString &application) {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("zorvel"), application);
}

} // namespace

QString readUserValue(const QString &application, const QString &section, const QString &key) {
    return openUserStore(application)->value(section + u'/' + key).toString();
}

// A registry value is replaced whole or not at all; a refused one is said.
bool writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value, QString *reason) {
    const auto store = openUserStore(application);
    store->setValue(section + u'/' + key, value);
    store->sync();
    if (store->status() == QSettings::NoError)
        return true;
    if (reason)
        *reason =
            QStringLiteral("the registry refused %1\\%2 of %3").arg(section, key, application);
    return false;
}

} // namespace platform
