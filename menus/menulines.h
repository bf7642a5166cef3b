#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace menus {

// The four statistics lines. `handle` and `lastIdle` are the file's values,
// `loads` and `minsUsed` the main window's captions.
QString statsLoadsLine(const settings::SettingsRecord &record, const QString &handle,
                       const QString &loads);
QString statsStyleLine(const settings::SettingsRecord &record);
QString statsColoursLine(const settings::SettingsRecord &record);
QString statsIdleLine(const settings::SettingsRecord &record, const QString &lastIdle,
                      const QString &minsUsed);

// The announcement of a new handle.
QString handleLine(const settings::SettingsRecord &record, const QString &handle);

} // namespace menus
