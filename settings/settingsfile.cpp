#include "settingsfile.h"
#include "settings/settingskeys.h"

#include "platform/configpaths.h"
#include "platform/cp1252.h"
#include "platform/fileinfo.h"
#include "platform/profile.h"
#include "settings/unsaved.h"

#include <QDir>
#include <QFileInfo>

namespace settings {

namespace {

// Every read asks for at most 749 characters and a NUL.
constexpr int kBufferSize = 750;

} // namespace

QString settingsPath() { return platform::settingsFile(); }

void ensureSettingsFolder() { QDir().mkpath(QFileInfo(settingsPath()).absolutePath()); }

bool fileExists(const QString &path) { return !path.isEmpty() && platform::isOrdinaryFile(path); }

QString getFromIni(const QString &section, const QString &key, const QString &file) {
    QByteArray buffer(kBufferSize, '\0');
    const int length = platform::getPrivateProfileString(
        platform::toCp1252(section).constData(), platform::toCp1252(key.toLower()).constData(), "",
        buffer.data(), kBufferSize, file);
    return platform::fromCp1252(buffer.left(length));
}

void writeToIni(const QString &section, const QString &key, const QString &value,
                const QString &file) {
    const QString upperKey = key.toUpper();
    QString reason;
    if (!platform::writePrivateProfileString(
            platform::toCp1252(section).constData(), platform::toCp1252(upperKey).constData(),
            platform::toCp1252(value).constData(), file, nullptr, &reason))
        reportUnsaved(QStringLiteral("the setting %1").arg(upperKey), reason);
}

void reloadSettings(SettingsRecord &record) {
    const QString file = settingsPath();
    const auto read = [&file](QLatin1String key) { return getFromIni(kSection, key, file); };
    record.setFontFace(read(keys::kFont));
    record.setCaption(Field::StyleName, read(keys::kStyleName));
    record.setCaption(Field::AsciiColour, read(keys::kAsciiColour));
    record.setCaption(Field::FrontAscii, read(keys::kFrontAscii));
    record.setCaption(Field::BackAscii, read(keys::kBackAscii));
    record.setCaption(Field::MiddleAscii, read(keys::kMiddleAscii));
    record.setCaption(Field::FontColour, read(keys::kFontColour));
}

} // namespace settings
