#pragma once

#include <QString>

namespace platform {

// The user's folders as the system names them (its known-folder API, which
// the environment cannot redirect), with forward slashes; empty when the
// system names none.
// FOLDERID_RoamingAppData: settings that travel with the user.
QString roamingAppDataFolder();
// FOLDERID_LocalAppData: the user's files that stay on this machine.
QString localAppDataFolder();

} // namespace platform
