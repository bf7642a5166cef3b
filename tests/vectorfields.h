#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <optional>

// The fields of the settings-file vectors (../shared/ini-vectors/README.md).
namespace vectorfields {

// A hex field; JSON null stands for a null pointer.
inline std::optional<QByteArray> bytesOf(const QJsonValue &hex) {
    if (hex.isNull())
        return std::nullopt;
    return QByteArray::fromHex(hex.toString().toLatin1());
}

// The C string a call gets for a field: null for JSON null.
inline const char *pointerTo(const std::optional<QByteArray> &bytes) {
    return bytes ? bytes->constData() : nullptr;
}

} // namespace vectorfields
