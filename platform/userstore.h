#pragma once

#include <QString>

namespace platform {

// The per-user settings store: the registry's user part on Windows; elsewhere
// an INI file where Qt's native per-user settings keep it
// (<config folder>/zorvel/<application>.conf), apart from the INI settings
// file. Reads of a missing value give the empty text.
QString readUserValue(const QString &application, const QString &section, const QString &key);
// Stores the value. False when it could not, with the step, the store and the
// system's own words in `reason` when given; the store is then left as it was.
bool writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value, QString *reason = nullptr);

// The per-user configuration folder: $XDG_CONFIG_HOME, or ~/.config when that
// is unset or empty; read from the environment at each call. Unix only.
QString userConfigFolder();

} // namespace platform
