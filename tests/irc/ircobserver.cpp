#include "ircobserver.h"

#include "tests/waitfor.h"

qint64 IrcObserver::now() {
    static QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock.elapsed();
}

bool IrcObserver::join(quint16 port, const QByteArray &nick, const QByteArray &channel, int ms,
                       const QByteArray &password) {
    m_channel = channel;
    connect(&m_socket, &QTcpSocket::readyRead, this, &IrcObserver::read, Qt::UniqueConnection);
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    if (!m_socket.waitForConnected(ms))
        return false;
    if (!password.isEmpty())
        sendLine("PASS " + password);
    sendLine("NICK " + nick);
    sendLine("USER " + nick + " 0 * :observer");
    if (waitFor(" 001 ", 0, ms) < 0)
        return false;
    sendLine("JOIN " + channel);
    return waitFor(" 366 ", 0, ms) >= 0;
}

void IrcObserver::sendLine(const QByteArray &line) {
    m_socket.write(line + "\r\n");
    m_socket.flush();
}

void IrcObserver::read() {
    m_buffer += m_socket.readAll();
    for (qsizetype end; (end = m_buffer.indexOf("\r\n")) >= 0;) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 2);
        if (line.startsWith("PING "))
            sendLine("PONG " + line.mid(5));
        m_lines.append({now(), line});
    }
}

qsizetype IrcObserver::waitFor(const QByteArray &part, qsizetype from, int ms) {
    qsizetype found = -1;
    ::waitFor(
        [&] {
            for (qsizetype i = from; i < m_lines.size(); ++i) {
                if (m_lines[i].text.contains(part)) {
                    found = i;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

std::optional<QByteArray> IrcObserver::awayOf(const QByteArray &nick, int ms) {
    const qsizetype from = m_lines.size();
    sendLine("WHOIS " + nick);
    const qsizetype end = waitFor(" 318 ", from, ms); // the end of the answer
    if (end < 0)
        return std::nullopt;
    const QByteArray away = ' ' + nick + " :";
    for (qsizetype i = from; i < end; ++i) {
        const QByteArray &text = m_lines.at(i).text;
        if (text.contains(" 301 ") && text.contains(away))
            return text.mid(text.indexOf(away) + away.size());
    }
    return QByteArray();
}

QList<IrcObserver::Line> IrcObserver::messagesFrom(const QByteArray &nick, qsizetype start) const {
    QList<Line> out;
    const QByteArray head = ':' + nick + '!';
    const QByteArray command = " PRIVMSG " + m_channel + " :";
    for (qsizetype i = start; i < m_lines.size(); ++i) {
        const QByteArray &text = m_lines[i].text;
        const qsizetype at = text.indexOf(command);
        if (text.startsWith(head) && at > 0)
            out.append({m_lines[i].ms, text.mid(at + command.size())});
    }
    return out;
}

void IrcObserver::logLinesFrom(const QByteArray &nick, qsizetype start, const char *label) const {
    for (const Line &line : m_lines.mid(start)) {
        if (!line.text.startsWith(QByteArray(':' + nick + '!')))
            continue;
        QByteArray raw;
        for (const char c : line.text) {
            const auto byte = std::uint8_t(c);
            raw += byte < 0x20 ? "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0')
                               : QByteArray(1, c);
        }
        qInfo("observer%s: %s", label, raw.constData());
    }
}
