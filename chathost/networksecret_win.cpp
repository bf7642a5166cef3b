#include "chathost/networksecret.h"

namespace chathost {

std::optional<QByteArray> networkSecret(const irc::NetworkConfig &config, QString *error) {
    // A file's mode bits do not say who can read it here (its access list
    // does), so a password file could be anyone's to read: none is used.
    if (!config.passwordFile.isEmpty() || !config.saslUser.isEmpty()) {
        *error = QStringLiteral("%1: this chathost takes no passwords on Windows (no "
                                "passwordfile, no sasluser); join without one")
                     .arg(config.name);
        return std::nullopt;
    }
    return QByteArray();
}

} // namespace chathost
