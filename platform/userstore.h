#pragma once

#include <QString>

namespace platform {

// The per-user settings store (the registry's user part on Windows; Qt's
// native per-user settings elsewhere, kept apart from the INI settings file).
// Reads of a missing value give the empty text; failures are silent.
QString readUserValue(const QString &application, const QString &section, const QString &key);
void writeUserValue(const QString &application, const QString &section, const QString &key,
                    const QString &value);

// The per-user configuration folder: $XDG_CONFIG_HOME, or ~/.config when that
// is unset or empty; read from the environment at each call. Unix only.
QString userConfigFolder();

} // namespace platform
