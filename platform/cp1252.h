#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Windows-1252, the code page of the settings file and of the chat.
// A character outside the code page becomes "?". The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
// characters of the same number, both ways, so every byte survives a round trip.
QByteArray toCp1252(const QString &text);
QString fromCp1252(const QByteArray &bytes);

} // namespace platform
