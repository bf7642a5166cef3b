#include "chathost/networksecret.h"

#include "chathost/storedpassword.h"

namespace chathost {

std::optional<QByteArray> networkSecret(const irc::NetworkConfig &config, QString *error) {
    return networkPassword(config.name, config.passwordFile, config.saslUser, error);
}

} // namespace chathost
