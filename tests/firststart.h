#pragma once

#include "session/sessionmodel.h"
#include "settings/settingsfile.h"

#include <QByteArray>
#include <QFile>

// The settings file as a first start leaves it, byte for byte.
inline const QByteArray kFirstStartFile = "[zorvel]\r\n"
                                          "PRESET=def\xe0\xf9lt\r\n"
                                          "PFCOLOR=00000C\r\n"
                                          "PACOLOR=009900\r\n"
                                          "PMASCII=-:-\r\n"
                                          "PFASCII=/\xaf\\\r\n"
                                          "PBASCII=/\xaf\\\r\n"
                                          "HANDLE=frobble\r\n";

// What the windows beside the main strip find after a first start, without
// the main strip: that file, and the style read from it into the model.
inline void startAsAtFirstStart(session::SessionModel &session) {
    settings::ensureSettingsFolder();
    QFile file(settings::settingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(kFirstStartFile);
    file.close();
    settings::reloadSettings(session);
}
