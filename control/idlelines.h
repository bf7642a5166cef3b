#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace control {

// The lines that mark idle mode switched on (engaged) and off.
QString idleSessionLine(const settings::SettingsRecord &record, bool engaged);

// The two lines of an idle tick: the idle time, then the reason and the style.
QString idleLine(const settings::SettingsRecord &record, const QString &handle,
                 const QString &hours, const QString &mins);
QString reasonLine(const settings::SettingsRecord &record, const QString &reason);

} // namespace control
