#include "awayrules.h"

namespace irc {

namespace {

bool isNickChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("[]\\`_^{|}-").contains(c);
}

} // namespace

QStringList defaultServices() {
    return {QStringLiteral("NickServ"), QStringLiteral("ChanServ"), QStringLiteral("MemoServ"),
            QStringLiteral("OperServ"), QStringLiteral("HostServ"), QStringLiteral("BotServ"),
            QStringLiteral("Global")};
}

bool mentionsNick(const QByteArray &text, const QByteArray &nick, CaseMapping mapping) {
    if (nick.isEmpty())
        return false;
    // Folding keeps every byte where it is, so the bounds can be read in the text.
    const QByteArray folded = foldCase(text, mapping);
    const QByteArray wanted = foldCase(nick, mapping);
    for (qsizetype at = folded.indexOf(wanted); at >= 0; at = folded.indexOf(wanted, at + 1)) {
        const qsizetype end = at + wanted.size();
        if ((at == 0 || !isNickChar(text[at - 1])) &&
            (end == text.size() || !isNickChar(text[end])))
            return true;
    }
    return false;
}

bool repliesTo(const QByteArray &prefix, const QByteArray &ownNick, const QStringList &services,
               CaseMapping mapping) {
    const qsizetype bang = prefix.indexOf('!');
    if (bang <= 0)
        return false;
    const QByteArray nick = foldCase(prefix.left(bang), mapping);
    if (nick == foldCase(ownNick, mapping))
        return false;
    for (const QString &service : services) {
        if (foldCase(service.toUtf8(), mapping) == nick)
            return false;
    }
    return true;
}

QByteArray awayReplyText(const QString &nick, const QString &reason, qint64 awayMs) {
    const qint64 minutes = std::max<qint64>(0, awayMs) / 60'000;
    return QStringLiteral("%1 is away: %2 (away for %3:%4)")
        .arg(nick, reason)
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .toUtf8();
}

} // namespace irc
