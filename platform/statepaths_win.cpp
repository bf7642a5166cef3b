#include "platform/statepaths.h"

#include "platform/knownfolders_win.h"

namespace platform {

QString userStateFolder() { return localAppDataFolder(); }

} // namespace platform
