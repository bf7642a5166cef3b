#include "ircmessage.h"

namespace irc {

QByteArray IrcMessage::nick() const {
    const qsizetype bang = prefix.indexOf('!');
    return bang < 0 ? prefix : prefix.left(bang);
}

IrcMessage parseMessage(const QByteArray &line) {
    IrcMessage message;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < line.size() && line[i] == ' ')
            ++i;
    };
    const auto word = [&] {
        const qsizetype end = line.indexOf(' ', i);
        const QByteArray w = line.mid(i, end < 0 ? -1 : end - i);
        i = end < 0 ? line.size() : end;
        return w;
    };
    skipBlanks();
    if (i < line.size() && line[i] == '@') { // message tags: not used here
        word();
        skipBlanks();
    }
    if (i < line.size() && line[i] == ':') {
        ++i;
        message.prefix = word();
        skipBlanks();
    }
    message.command = word().toUpper();
    for (;;) {
        skipBlanks();
        if (i >= line.size())
            break;
        if (line[i] == ':') {
            message.params.append(line.mid(i + 1));
            break;
        }
        message.params.append(word());
    }
    return message;
}

QByteArray foldCase(const QByteArray &name, CaseMapping mapping) {
    QByteArray folded = name.toLower();
    if (mapping == CaseMapping::Ascii)
        return folded;
    const bool tilde = mapping == CaseMapping::Rfc1459;
    for (char &c : folded) {
        if (c == '[')
            c = '{';
        else if (c == ']')
            c = '}';
        else if (c == '\\')
            c = '|';
        else if (c == '~' && tilde)
            c = '^';
    }
    return folded;
}

} // namespace irc
