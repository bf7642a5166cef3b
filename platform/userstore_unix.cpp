#include "platform/userstore.h"

#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

// An application's store is the INI file where Qt's native per-user settings
// keep it, resolved from the environment at each call; our own profile
// functions read and write it (see writeUserValue).
QString storeFile(const QString &application) {
    return QStringLiteral("%1/zorvel/%2.conf").arg(userConfigFolder(), application);
}

// Far more than any count's digits.
constexpr int kBufferSize = 4096;

} // namespace

QString readUserValue(const QString &application, const QString &section, const QString &key) {
    QByteArray buffer(kBufferSize, '\0');
    const int length =
        getPrivateProfileString(section.toUtf8().constData(), key.toUtf8().constData(), "",
                                buffer.data(), kBufferSize, storeFile(application));
    return QString::fromUtf8(buffer.left(length));
}

// Not QSettings: as of Qt 6.4 it renames a copy that a full disk cut short
// over the file and reports success. The store holds plain counts, which
// QSettings reads alike.
bool writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value, QString *reason) {
    const QString file = storeFile(application);
    QDir().mkpath(QFileInfo(file).absolutePath());
    return writePrivateProfileString(section.toUtf8().constData(), key.toUtf8().constData(),
                                     value.toUtf8().constData(), file, nullptr, reason);
}

QString userConfigFolder() {
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace platform
