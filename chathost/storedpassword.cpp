#include "storedpassword.h"

#include "platform/secretstore.h"

namespace chathost {

QString storedPasswordName(const QString &network) { return QStringLiteral("chathost:") + network; }

std::optional<QByteArray> networkPassword(const QString &network, const QString &passwordFile,
                                          const QString &saslUser, QString *error) {
    if (!passwordFile.isEmpty())
        return platform::readSecretFile(passwordFile, error);
    error->clear();
    const auto stored = platform::readCredential(storedPasswordName(network), error);
    if (stored)
        return stored;
    if (!error->isEmpty())
        return std::nullopt;
    if (!saslUser.isEmpty()) {
        *error = platform::hasCredentialStore()
                     ? QStringLiteral("SASL login as %1 needs a password file or a stored "
                                      "password: chathost --store-password %2")
                           .arg(saslUser, network)
                     : QStringLiteral("SASL login as %1 needs a password file").arg(saslUser);
        return std::nullopt;
    }
    return QByteArray();
}

int storeNetworkPassword(const QString &network, QString *message) {
    if (!platform::hasCredentialStore()) {
        *message = QStringLiteral(
            "--store-password: this system has no credential store for chathost; a network's "
            "password comes from a file only you can read (--password-file FILE, or "
            "passwordfile= in networks.ini)");
        return 2;
    }
    if (network.trimmed().isEmpty()) {
        *message = QStringLiteral("--store-password needs the network's name");
        return 2;
    }
    const auto input = platform::readSecretInput(
        QStringLiteral("chathost: the password for %1, on one line: ").arg(network));
    const auto secret = input ? platform::secretFromText(*input) : std::nullopt;
    if (!secret) {
        *message =
            QStringLiteral("no password on the first line of standard input: nothing stored");
        return 2;
    }
    const QString name = storedPasswordName(network);
    if (!platform::writeCredential(name, *secret, message))
        return 1;
    *message = QStringLiteral("the password for %1 is stored as %2 in the Credential Manager")
                   .arg(network, name);
    return 0;
}

} // namespace chathost
