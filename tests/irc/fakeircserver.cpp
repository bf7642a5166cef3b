#include "fakeircserver.h"

#include "tests/waitfor.h"

FakeIrcServer::FakeIrcServer() {
    m_clock.start();
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &FakeIrcServer::accept);
}

void FakeIrcServer::accept() {
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        ++m_connections;
        m_connectionTimes.append(m_clock.elapsed());
        if (m_refusing) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (m_client)
            m_client->abort();
        m_client = socket;
        m_buffer.clear();
        const int connection = m_connections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, connection] {
            if (socket != m_client)
                return;
            m_buffer += socket->readAll();
            for (qsizetype end; (end = m_buffer.indexOf("\r\n")) >= 0;) {
                m_lines.append({m_clock.elapsed(), connection, m_buffer.left(end)});
                m_buffer.remove(0, end + 2);
            }
        });
    }
}

void FakeIrcServer::send(const QByteArray &bytes) {
    if (m_client) {
        m_client->write(bytes);
        m_client->flush();
    }
}

void FakeIrcServer::dropClient() {
    if (m_client) {
        m_client->flush();
        m_client->abort();
    }
}

qsizetype FakeIrcServer::waitForLine(const QByteArray &start, qsizetype from, int ms) {
    qsizetype found = -1;
    waitFor(
        [&] {
            for (qsizetype i = from; i < m_lines.size(); ++i) {
                if (m_lines[i].text.startsWith(start)) {
                    found = i;
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

bool FakeIrcServer::waitForConnections(int count, int ms) {
    return waitFor([&] { return m_connections >= count; }, ms);
}
