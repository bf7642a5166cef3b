#include "configpaths.h"

namespace platform {

QString settingsFile() { return QStringLiteral("C:\\WINDOWS\\SYSTEM\\zorvel.ini"); }

} // namespace platform
