#pragma once

#include "irc/ircmessage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace irc {

// What being away means on IRC, apart from any connection: which lines
// mention the user, which private messages get a polite reply, and its text.

// The nicks of a network's services, which a reply would only bother (the
// `services=` key's default).
QStringList defaultServices();

// Whether `text` names `nick` as a word: bounded by the text's start or end
// or by a character no nick can hold, compared as the server folds case.
bool mentionsNick(const QByteArray &text, const QByteArray &nick, CaseMapping mapping);

// Whether a private message from `prefix` gets the away reply: from a
// person (nick!user@host, not a server's name), neither us nor a service.
bool repliesTo(const QByteArray &prefix, const QByteArray &ownNick, const QStringList &services,
               CaseMapping mapping);

// "<nick> is away: <reason> (away for <h:mm>)", as UTF-8.
QByteArray awayReplyText(const QString &nick, const QString &reason, qint64 awayMs);

} // namespace irc
