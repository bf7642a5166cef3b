#include "platform/statepaths.h"

#include <QDir>

namespace platform {

QString userStateFolder() {
    const QString configured = qEnvironmentVariable("XDG_STATE_HOME");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/state");
}

} // namespace platform
