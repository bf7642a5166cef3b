#include "chathost/networksecret.h"

namespace chathost {

std::optional<QByteArray> networkSecret(const irc::NetworkConfig &config, QString *error) {
    if (!config.passwordFile.isEmpty())
        return irc::readSecretFile(config.passwordFile, error);
    if (!config.saslUser.isEmpty()) {
        *error = QStringLiteral("SASL login as %1 needs a password file").arg(config.saslUser);
        return std::nullopt;
    }
    return QByteArray();
}

} // namespace chathost
