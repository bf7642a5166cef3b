#include "storedsettings.h"

#include "settings/settingsfile.h"
#include "settings/settingskeys.h"

namespace settings {

namespace {
QString read(QLatin1String key) { return getFromIni(kSection, key, settingsPath()); }
void write(QLatin1String key, const QString &value) {
    writeToIni(kSection, key, value, settingsPath());
}
} // namespace

QString StoredSettings::handle() const { return read(keys::kHandle); }
void StoredSettings::setHandle(const QString &handle) const { write(keys::kHandle, handle); }
QString StoredSettings::reason() const { return read(keys::kReason); }
void StoredSettings::setReason(const QString &reason) const { write(keys::kReason, reason); }
QString StoredSettings::lastIdle() const { return read(keys::kLastIdle); }
void StoredSettings::setLastIdle(const QString &clock) const { write(keys::kLastIdle, clock); }
QString StoredSettings::autoIdle() const { return read(keys::kAutoIdle); }
void StoredSettings::setAutoIdle(const QString &minutes) const { write(keys::kAutoIdle, minutes); }
QString StoredSettings::field(Field field) const { return read(keys::keyOf(field)); }
void StoredSettings::setField(Field field, const QString &value) const {
    write(keys::keyOf(field), value);
}

} // namespace settings
