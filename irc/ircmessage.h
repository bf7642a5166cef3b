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

// How a server compares nicks (its 005 CASEMAPPING): ascii folds A-Z only;
// rfc1459 also takes []\~ for the capitals of {}|^, strict-rfc1459 all but ~.
enum class CaseMapping { Ascii, Rfc1459, StrictRfc1459 };

// A nick as it compares: IRC folds case, and []\~ are the capitals of {}|^.
QByteArray foldCase(const QByteArray &name, CaseMapping mapping = CaseMapping::Rfc1459);

} // namespace irc
