#include "chatwire.h"

#include <QStandardPaths>

namespace chatwire {

QString socketPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
           QStringLiteral("/chathost.sock");
}

void putU32(QByteArray &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
}

void putU64(QByteArray &out, std::uint64_t value) {
    putU32(out, std::uint32_t(value >> 32));
    putU32(out, std::uint32_t(value));
}

std::uint32_t getU32(const char *in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | std::uint8_t(in[i]);
    return value;
}

std::uint64_t getU64(const char *in) { return (std::uint64_t(getU32(in)) << 32) | getU32(in + 4); }

QString announceModeName(AnnounceMode mode) {
    switch (mode) {
    case AnnounceMode::Full:
        return QStringLiteral("full");
    case AnnounceMode::Changes:
        return QStringLiteral("changes");
    case AnnounceMode::Quiet:
        break;
    }
    return QStringLiteral("quiet");
}

std::optional<AnnounceMode> parseAnnounceMode(const QString &text) {
    for (const AnnounceMode mode : {AnnounceMode::Full, AnnounceMode::Changes, AnnounceMode::Quiet})
        if (text == announceModeName(mode))
            return mode;
    return std::nullopt;
}

QByteArray frame(const QByteArray &payload) {
    QByteArray out;
    out.reserve(4 + payload.size());
    putU32(out, std::uint32_t(payload.size()));
    return out + payload;
}

} // namespace chatwire
