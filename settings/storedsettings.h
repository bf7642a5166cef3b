#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace settings {

// The settings the windows read and write, each by its name, in the file's
// one section (kSection) of the settings file as it is at each call. Reads
// and writes follow getFromIni and writeToIni: a failed write leaves the file
// as it was and is said once on standard error, never to the user.
class StoredSettings {
public:
    QString handle() const;
    void setHandle(const QString &handle) const;
    // The idle reason.
    QString reason() const;
    void setReason(const QString &reason) const;
    // The idle clock as idle mode last went off ("h:mm").
    QString lastIdle() const;
    void setLastIdle(const QString &clock) const;
    // The minutes of auto-idle as the file holds them, unchecked.
    QString autoIdle() const;
    void setAutoIdle(const QString &minutes) const;
    // A field of the style in effect, under its key.
    QString field(Field field) const;
    void setField(Field field, const QString &value) const;
};

} // namespace settings
