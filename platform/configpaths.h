#pragma once

#include <QString>

namespace platform {

// The settings file of the program: zorvel/zorvel.ini in the user's
// configuration folder (%APPDATA% on Windows, where a missing file is first
// copied from the old C:\WINDOWS\SYSTEM\zorvel.ini when that exists).
// Read from the environment at each call.
QString settingsFile();

} // namespace platform
