#include "platform/statepaths.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString userStateFolder() {
    const QString configured = qEnvironmentVariable("LOCALAPPDATA");
    if (!configured.isEmpty())
        return QDir::fromNativeSeparators(configured);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

} // namespace platform
