#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QTcpSocket>
#include <optional>

// A bare IRC client that sits in a channel and keeps every line the server
// sends it, byte for byte, with when it came: how the test sees what
// reaches the people in the channel.
class IrcObserver : public QObject {
    Q_OBJECT
public:
    struct Line {
        qint64 ms; // on now()'s clock
        QByteArray text;
    };
    // One clock for every observer of the process, so that lines that came
    // to different observers can be put in order.
    static qint64 now();

    // Connects, registers as `nick` and joins; false when that did not happen
    // within the time.
    bool join(quint16 port, const QByteArray &nick, const QByteArray &channel, int ms = 10000,
              const QByteArray &password = {});
    void sendLine(const QByteArray &line);
    // Waits for a line containing `part` after the first `from` lines; its index or -1.
    qsizetype waitFor(const QByteArray &part, qsizetype from = 0, int ms = 10000);
    const QList<Line> &lines() const { return m_lines; }
    // Asks the server WHOIS `nick`: the away text it answers, empty when
    // `nick` is not away; nothing when no answer came in time.
    std::optional<QByteArray> awayOf(const QByteArray &nick, int ms = 10000);
    // The texts of the PRIVMSGs `from` sent to the channel, in order, from line `start` on.
    QList<Line> messagesFrom(const QByteArray &nick, qsizetype start = 0) const;
    // The lines from `nick`, from line `start` on, printed for the record
    // with control characters as \xNN.
    void logLinesFrom(const QByteArray &nick, qsizetype start = 0, const char *label = "") const;

private:
    void read();

    QTcpSocket m_socket;
    QByteArray m_buffer;
    QList<Line> m_lines;
    QByteArray m_channel;
};
