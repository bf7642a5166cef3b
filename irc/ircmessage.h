#pragma once

#include <QByteArray>
#include <QList>

namespace irc {

// One line from the server: [@tags] [:prefix] COMMAND params [:trailing].
struct IrcMessage {
    QByteArray prefix;  // nick!user@host or a server's name; empty when none
    QByteArray command; // upper case, or a three-digit reply number
    QList<QByteArray> params;

    QByteArray param(qsizetype i) const { return params.value(i); }
    // The nick of the prefix (all of it when it names a server).
    QByteArray nick() const;
};

// Parses one line (without CR LF); an empty command when the line has none.
IrcMessage parseMessage(const QByteArray &line);

// A nick as it compares: IRC folds case, and []\~ are the capitals of {}|^.
QByteArray foldCase(const QByteArray &name);

} // namespace irc
