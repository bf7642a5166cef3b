#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A scripted IRC server on a loopback port, for what a real server will not
// show on demand (SASL, a server that stops answering, a line cut off). It
// keeps every line a client sent, with when it came, and answers only what
// the test tells it to.
class FakeIrcServer : public QObject {
    Q_OBJECT
public:
    struct Line {
        qint64 ms;       // since the server started
        int connection;  // 1 for the first client connection, and so on
        QByteArray text; // without CR LF
    };

    FakeIrcServer();
    quint16 port() const { return m_server.serverPort(); }

    // Sends raw bytes (the test adds CR LF where it wants a whole line).
    void send(const QByteArray &bytes);
    void sendLine(const QByteArray &line) { send(line + "\r\n"); }
    // Closes the current client connection.
    void dropClient();
    // Closes every connection as soon as it comes (a server that refuses).
    void setRefusing(bool refusing) { m_refusing = refusing; }

    // Waits (running events, at most `ms`) for a line starting with `start`
    // after the first `from` lines; its index, or -1.
    qsizetype waitForLine(const QByteArray &start, qsizetype from = 0, int ms = 5000);
    bool waitForConnections(int count, int ms = 5000);

    const QList<Line> &lines() const { return m_lines; }
    int connections() const { return m_connections; }
    QList<qint64> connectionTimes() const { return m_connectionTimes; }

private:
    void accept();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_buffer;
    QList<Line> m_lines;
    QList<qint64> m_connectionTimes;
    QElapsedTimer m_clock;
    int m_connections = 0;
    bool m_refusing = false;
};
