#pragma once

#include "irc/networkconfig.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace chathost {

// The one place the network setup takes a network's password from: the
// server password, or SASL PLAIN's when the network names a SASL user. Empty
// when the network has none; nothing, with the reason for the user, when the
// password cannot be used (never the password itself). Where it comes from:
// networkPassword() in storedpassword.h.
std::optional<QByteArray> networkSecret(const irc::NetworkConfig &config, QString *error);

} // namespace chathost
