#include "chathost/hostfolders.h"

#include "platform/knownfolders_win.h"

namespace chathost {

QString networksFile() {
    return platform::roamingAppDataFolder() + QStringLiteral("/chathost/networks.ini");
}

} // namespace chathost
