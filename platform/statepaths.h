#pragma once

#include <QString>

namespace platform {

// The per-user folder for state a program keeps between runs (logs, what it
// was doing): $XDG_STATE_HOME, or ~/.local/state when that is unset or empty;
// %LOCALAPPDATA% on Windows. Read from the environment at each call.
QString userStateFolder();

} // namespace platform
