#pragma once

#include "settings/settingsrecord.h"

#include <QString>
#include <optional>

namespace settings {

// The one section every caller passes.
inline constexpr QLatin1String kSection{"zorvel"};

// The settings file: $XDG_CONFIG_HOME/zorvel/zorvel.ini (~/.config when unset)
// on Unix, the system folder's zorvel.ini on Windows. One constant, computed
// from the environment at each call.
QString settingsPath();
// Creates the settings file's folder when it is missing; silent on failure.
void ensureSettingsFolder();

// True when the path names an existing ordinary file; an empty path never does.
bool fileExists(const QString &path);
// The key's value in the section of the file (key lower-cased, at most 749
// characters, trimmed and unquoted), or the empty text.
QString getFromIni(const QString &section, const QString &key, const QString &file);
// Stores the value under the upper-cased key. A failed write leaves the file
// as it was and is said once on standard error, never to the user. The file
// is never left torn, even if the process dies mid-write.
void writeToIni(const QString &section, const QString &key, const QString &value,
                const QString &file);
// Fills the record from the settings file: the font face, then preset,
// pacolor, pfascii, pbascii, pmascii, pfcolor, in that order.
void reloadSettings(SettingsRecord &record);

// Counts one load in the per-user store (application zorvel, section Count,
// key stunt); a store that fails is left as it was and said once on standard
// error. Returns the text `Label4` must show, or nothing when it is to stay as
// it is (first load).
std::optional<QString> countLoad();

} // namespace settings
