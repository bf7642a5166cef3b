#pragma once

#include <QString>

namespace platform {

// The settings file of the program: the system folder's zorvel.ini on
// Windows; zorvel/zorvel.ini in the user's configuration folder elsewhere.
// Read from the environment at each call.
QString settingsFile();

} // namespace platform
