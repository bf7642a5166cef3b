#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace chathost {

// The name of a network's password in the system's credential store.
QString storedPasswordName(const QString &network);

// A network's password (the server's, or SASL's for `saslUser`): the first
// line of `passwordFile` when one is named, else the one stored for the
// network in the system's credential store, else none (empty). Nothing,
// with the reason, when the named file is not private or holds none, the
// store cannot be read, or a SASL login finds no password.
std::optional<QByteArray> networkPassword(const QString &network, const QString &passwordFile,
                                          const QString &saslUser, QString *error);

// --store-password NETWORK: stores the first line of standard input as the
// network's password in the system's credential store. The exit status,
// with what to tell the user in `message`: 0 stored; 2 when this system has
// no store (before any input is read) or the input holds no password; 1 when
// the store refused it.
int storeNetworkPassword(const QString &network, QString *message);

} // namespace chathost
