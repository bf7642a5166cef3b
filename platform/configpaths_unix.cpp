#include "platform/configpaths.h"

#include "platform/userstore.h"

namespace platform {

QString settingsFile() { return userConfigFolder() + QStringLiteral("/zorvel/zorvel.ini"); }

} // namespace platform
