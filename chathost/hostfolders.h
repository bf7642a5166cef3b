#pragma once

#include <QString>

namespace chathost {

// The settings file that names the networks (--network NAME): on Unix
// $XDG_CONFIG_HOME/chathost/networks.ini, on Windows networks.ini in the
// chathost folder of the user's roaming application data.
QString networksFile();

} // namespace chathost
