#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <optional>

namespace irc {

// Every line we send is built here: the command, its middle parameters and a
// trailing one after " :". A middle parameter must be a non-empty word that
// does not start with ':' (else the line is refused: an empty result); CR,
// LF and NUL in the trailing one become blanks, so no text can end a line
// early or smuggle in a command of its own.
QByteArray encodeLine(const QByteArray &command, const QList<QByteArray> &middle = {},
                      const std::optional<QByteArray> &trailing = std::nullopt);

// A CTCP message's text: \x01COMMAND argument\x01 (the argument left out when
// there is none).
QByteArray ctcpText(const QByteArray &command, const std::optional<QByteArray> &argument = {});

// CR, LF and NUL as blanks.
QByteArray noBreaks(QByteArray bytes);

// JOIN lines for the channels, as few as fit the 512-byte line limit (CR LF
// counted), in order.
QList<QByteArray> joinLines(const QStringList &channels);

} // namespace irc
