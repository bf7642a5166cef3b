#include "configpaths.h"

#include "userstore.h"

namespace platform {

QString settingsFile() { return userConfigFolder() + QStringLiteral("/zorvel/zorvel.ini"); }

} // namespace platform
