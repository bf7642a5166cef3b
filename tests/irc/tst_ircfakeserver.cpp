// The connection against a scripted server, for what a real server here
// cannot be made to do: a server that stops answering, a connection cut
// mid-line, the delays between tries, and a channel that takes no colour.
// Times are shortened for the test. The protocol itself (registration, SASL,
// nicks, people, modes) is tst_ircsession's, without a socket.
#include "irc/ircconnection.h"
#include "tests/irc/fakeircserver.h"
#include "tests/waitfor.h"

#include <QTest>

using irc::IrcConnection;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kBackoffScale = 100; // 2 s become 20 ms

irc::NetworkConfig config(quint16 port) {
    irc::NetworkConfig c;
    c.name = c.host = QStringLiteral("127.0.0.1");
    c.port = port;
    c.tls = false;
    c.nick = c.userName = c.realName = QStringLiteral("zorvel");
    c.channels = {QStringLiteral("#z")};
    return c;
}

struct Client {
    explicit Client(const irc::NetworkConfig &c, const QByteArray &secret = {})
        : connection(c, secret) {
        connection.setTiming({300, 300, 5000, kBackoffScale});
        connection.setRandom([] { return 0.5; });
        QObject::connect(&connection, &IrcConnection::status,
                         [this](const QString &, const QString &text) { statuses << text; });
    }
    bool statusSaid(const QString &part, int ms = 3000) {
        return waitFor([&] { return statuses.join(u'\n').contains(part); }, ms);
    }
    IrcConnection connection;
    QStringList statuses;
};

// Answers registration as far as the welcome.
void welcome(FakeIrcServer &server, qsizetype from, const QByteArray &nick = "zorvel") {
    QVERIFY(server.waitForLine("USER ", from) >= 0);
    server.sendLine(":srv 001 " + nick + " :Welcome");
}

} // namespace

class TestIrcFakeServer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void silentServerIsLeft() {
        FakeIrcServer server;
        Client client(config(server.port()));
        client.connection.start();
        welcome(server, 0);
        // Nothing more from the server: after the quiet time a PING of ours,
        // after the answer time the connection is given up and tried again.
        QVERIFY(server.waitForLine("PING :zorvel-") >= 0);
        QVERIFY(client.statusSaid(u"the server stopped answering"_s));
        QVERIFY(server.waitForConnections(2));
        // An answer keeps the connection: no second PING goes unanswered.
        welcome(server, server.lines().size() - 3);
        const qsizetype ping = server.waitForLine("PING :zorvel-", server.lines().size());
        QVERIFY(ping >= 0);
        server.sendLine(":srv PONG srv :" + server.lines().at(ping).text.mid(6));
        // The next quiet time ends in a PING on the same connection; one
        // given up would have come back unregistered, which never PINGs.
        QVERIFY(server.waitForLine("PING :zorvel-", ping + 1) >= 0);
        QCOMPARE(server.connections(), 2);
    }

    void connectionCutMidLine() {
        FakeIrcServer server;
        Client client(config(server.port()));
        QStringList heard;
        connect(&client.connection, &IrcConnection::message,
                [&](const QString &channel, const QString &nick, const QString &text,
                    IrcConnection::Kind) { heard << channel + u' ' + nick + u": " + text; });
        client.connection.start();
        welcome(server, 0);
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        server.send(":a!b@c PRIVMSG #z :whole\r\n:a!b@c PRIVMSG #z :ha");
        QVERIFY(waitFor([&] { return !heard.isEmpty(); }, 3000));
        server.dropClient();
        QVERIFY(client.statusSaid(u"connecting again in 2 s"_s));
        QVERIFY(server.waitForConnections(2));
        welcome(server, server.lines().size() - 3);
        // Joined again, and what was cut off never showed.
        QVERIFY(server.waitForLine("JOIN #z", server.lines().size() - 1) >= 0);
        QCOMPARE(heard, QStringList{u"#z a: whole"_s});
        // A line posted now goes to the channel once joined.
        client.connection.sendText(QStringLiteral("#z"), "after");
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        server.sendLine(":srv 324 zorvel #z +nt");
        QVERIFY(server.waitForLine("PRIVMSG #z :after") >= 0);
    }

    // A channel whose mode strips colour (+c, which the server lists in
    // CHANMODES) gets zorvel's lines without their formatting codes.
    void channelThatTakesNoColour() {
        FakeIrcServer server;
        Client client(config(server.port()));
        client.connection.start();
        welcome(server, 0);
        server.sendLine(":srv 005 zorvel CHANMODES=beI,k,l,cimnpst :are supported");
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        QVERIFY(server.waitForLine("MODE #z") >= 0);
        server.sendLine(":srv 324 zorvel #z +cnt");
        QVERIFY(client.statusSaid(u"#z takes no colour (+cnt)"_s));
        client.connection.sendText(u"#z"_s, "\x03"
                                            "03/\xc2\xaf\\\x03 \x02zorvel\x02");
        QVERIFY(server.waitForLine("PRIVMSG #z :/\xc2\xaf\\ zorvel") >= 0);
    }

    // The delays between tries double from 2 s (here divided by the scale),
    // each try coming no sooner than its delay (less what the server's own
    // event loop may take to note a connection).
    void backoffBetweenTries() {
        FakeIrcServer server;
        server.setRefusing(true);
        Client client(config(server.port()));
        QList<qint64> delays;
        connect(&client.connection, &IrcConnection::reconnectScheduled,
                [&](qint64 ms) { delays << ms; });
        client.connection.start();
        QVERIFY(server.waitForConnections(5, 10000));
        client.connection.stop(QString());
        QCOMPARE(delays.mid(0, 4), (QList<qint64>{20, 40, 80, 160}));
        const QList<qint64> times = server.connectionTimes();
        for (int i = 1; i < 5; ++i)
            QVERIFY2(times[i] - times[i - 1] >= delays[i - 1] * 3 / 4,
                     qPrintable(
                         QStringLiteral("try %1 after %2 ms").arg(i).arg(times[i] - times[i - 1])));
        QVERIFY(client.statuses.join(u'\n').contains(u"connecting again in 4 s"_s));
    }
};

QTEST_MAIN(TestIrcFakeServer)
#include "tst_ircfakeserver.moc"
