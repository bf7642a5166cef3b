#include "ircencoder.h"

#include "irc/linesplitter.h"

namespace irc {

QByteArray noBreaks(QByteArray bytes) {
    for (char &c : bytes) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return bytes;
}

QByteArray encodeLine(const QByteArray &command, const QList<QByteArray> &middle,
                      const std::optional<QByteArray> &trailing) {
    const auto isWord = [](const QByteArray &word) {
        return !word.isEmpty() && !word.startsWith(':') && !word.contains(' ') &&
               noBreaks(word) == word;
    };
    if (!isWord(command))
        return {};
    QByteArray line = command;
    for (const QByteArray &param : middle) {
        if (!isWord(param))
            return {};
        line += ' ' + param;
    }
    if (trailing)
        line += " :" + noBreaks(*trailing);
    return line;
}

QByteArray ctcpText(const QByteArray &command, const std::optional<QByteArray> &argument) {
    return '\x01' + command + (argument ? ' ' + *argument : QByteArray()) + '\x01';
}

QList<QByteArray> joinLines(const QStringList &channels) {
    // "JOIN " list CR LF
    constexpr qsizetype kRoom = kMaxLineBytes - 5 - 2;
    QList<QByteArray> lines;
    QByteArray list;
    const auto flush = [&] {
        if (!list.isEmpty())
            lines.append(encodeLine("JOIN", {list}));
        list.clear();
    };
    for (const QString &channel : channels) {
        const QByteArray name = channel.toUtf8();
        if (!list.isEmpty() && list.size() + 1 + name.size() > kRoom)
            flush();
        list += (list.isEmpty() ? "" : ",") + name;
    }
    flush();
    return lines;
}

} // namespace irc
