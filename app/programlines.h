#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace app {

// The address of the download page that the identity lines link to.
inline constexpr const char *kDownloadPage = "https://zorvel.example/download";

// The two start-up lines. `handle` and `style` are the file's values read at
// start-up; the record gives the colours and asciis.
QString loadLine(const settings::SettingsRecord &record);
QString loadIdentityLine(const settings::SettingsRecord &record, const QString &handle,
                         const QString &style);

// The two closing lines.
QString unloadLine(const settings::SettingsRecord &record);
QString unloadIdentityLine(const settings::SettingsRecord &record, const QString &handle,
                           const QString &style);

} // namespace app
