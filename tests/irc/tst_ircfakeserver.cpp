// The connection against a scripted server, for what a real server here
// cannot be made to do: SASL that succeeds or fails, a nick in use at
// registration, a server that stops answering, a connection cut mid-line,
// and the delays between tries. Times are shortened for the test.
#include "irc/ircconnection.h"
#include "tests/irc/fakeircserver.h"
#include "tests/waitfor.h"

#include <QSignalSpy>
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
    void sasl_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("status");
        QTest::newRow("success") << QByteArray("903 zorvel :SASL authentication successful")
                                 << "logged in as acct (SASL)";
        QTest::newRow("failure") << QByteArray("904 zorvel :SASL authentication failed")
                                 << "SASL login as acct failed: SASL authentication failed";
    }
    void sasl() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, status);
        FakeIrcServer server;
        irc::NetworkConfig c = config(server.port());
        c.saslUser = QStringLiteral("acct");
        Client client(c, "pw");
        client.connection.start();
        QVERIFY(server.waitForLine("USER zorvel 0 * :zorvel") >= 0);
        QCOMPARE(server.lines().first().text, QByteArray("CAP LS 302"));
        server.sendLine(":srv CAP * LS * :multi-prefix");
        server.sendLine(":srv CAP * LS :sasl=PLAIN,EXTERNAL");
        QVERIFY(server.waitForLine("CAP REQ :sasl") >= 0);
        server.sendLine(":srv CAP zorvel ACK :sasl");
        QVERIFY(server.waitForLine("AUTHENTICATE PLAIN") >= 0);
        server.sendLine("AUTHENTICATE +");
        const qsizetype auth =
            server.waitForLine("AUTHENTICATE " + QByteArray("acct\0acct\0pw", 12).toBase64());
        QVERIFY(auth >= 0);
        server.sendLine(":srv " + reply);
        QVERIFY(server.waitForLine("CAP END", auth) >= 0);
        QVERIFY(client.statusSaid(status));
        // Either way registration goes on; the password never went as PASS.
        welcome(server, 0);
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        QCOMPARE(server.waitForLine("PASS", 0, 0), -1);
    }

    void nickInUseAtRegistration_data() {
        QTest::addColumn<QByteArray>("refusal");
        QTest::addColumn<QByteArray>("next");
        QTest::newRow("in use") << QByteArray("433 * zorvel :Nickname already in use")
                                << QByteArray("zorvel_");
        QTest::newRow("erroneous, too long")
            << QByteArray("432 * zorvel :Erroneous nickname") << QByteArray("Guest");
    }
    void nickInUseAtRegistration() {
        QFETCH(QByteArray, refusal);
        QFETCH(QByteArray, next);
        FakeIrcServer server;
        Client client(config(server.port()));
        client.connection.start();
        QVERIFY(server.waitForLine("USER ") >= 0);
        // A PING before registration is answered at once.
        server.sendLine("PING :early");
        QVERIFY(server.waitForLine("PONG :early") >= 0);
        server.sendLine(":srv " + refusal);
        const qsizetype nick = server.waitForLine("NICK " + next, 2);
        QVERIFY(nick >= 0);
        const QByteArray chosen = server.lines().at(nick).text.mid(5);
        QVERIFY(client.statusSaid(QString::fromUtf8(chosen)));
        server.sendLine(":srv 001 " + chosen + " :Welcome");
        QVERIFY(waitFor([&] { return client.connection.isRegistered(); }, 3000));
        QCOMPARE(client.connection.nick(), QString::fromUtf8(chosen));
    }

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
        QVERIFY(server.waitForLine("PRIVMSG #z :after") >= 0);
    }

    // Lines wait until the channels are joined; a channel that cannot be
    // joined says why in its room and holds back the others' lines no longer.
    void channelThatCannotBeJoined() {
        FakeIrcServer server;
        irc::NetworkConfig c = config(server.port());
        c.channels = {u"#z"_s, u"#banned"_s};
        Client client(c);
        client.connection.start();
        welcome(server, 0);
        QVERIFY(server.waitForLine("JOIN #z,#banned") >= 0);
        client.connection.sendText(QStringLiteral("#z"), "waiting");
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        // Lines are handled in order: once the PING after the JOIN is
        // answered, a line the JOIN let go would have been sent.
        server.sendLine("PING :after-join");
        QVERIFY(server.waitForLine("PONG :after-join") >= 0);
        QCOMPARE(server.waitForLine("PRIVMSG", 0, 0), -1);
        server.sendLine(":srv 474 zorvel #banned :Cannot join channel (+b)");
        QVERIFY(server.waitForLine("PRIVMSG #z :waiting") >= 0);
        QVERIFY(client.statusSaid(u"#banned: Cannot join channel (+b)"_s));
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

    // The people list follows NAMES, JOIN, NICK, PART, QUIT and KICK, each
    // event on top of the ones before, and the room says who came and went.
    void peopleFollowTheChannel() {
        const struct {
            QByteArray event;
            QStringList people;
            QString said; // empty: nothing to say
        } steps[] = {
            {":srv 353 zorvel = #z :zorvel @op +v\r\n:srv 366 zorvel #z :End",
             {u"+v"_s, u"@op"_s, u"zorvel"_s},
             {}},
            {":new!u@h JOIN #z", {u"+v"_s, u"@op"_s, u"new"_s, u"zorvel"_s}, u"new joined"_s},
            {":v!u@h NICK vee",
             {u"+vee"_s, u"@op"_s, u"new"_s, u"zorvel"_s},
             u"v is now known as vee"_s},
            {":op!u@h PART #z :later", {u"+vee"_s, u"new"_s, u"zorvel"_s}, u"op left (later)"_s},
            {":new!u@h QUIT :bye", {u"+vee"_s, u"zorvel"_s}, u"new quit (bye)"_s},
            {":x!u@h KICK #Z vee :out", {u"zorvel"_s}, u"vee was removed by x (out)"_s},
        };
        FakeIrcServer server;
        Client client(config(server.port()));
        client.connection.start();
        welcome(server, 0);
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        for (const auto &step : steps) {
            server.sendLine(step.event);
            QVERIFY2(
                waitFor([&] { return client.connection.people(u"#z"_s) == step.people; }, 3000),
                qPrintable(QString::fromUtf8(step.event) + u" -> "_s +
                           client.connection.people(u"#z"_s).join(u' ')));
            if (!step.said.isEmpty())
                QVERIFY2(client.statusSaid(step.said), qPrintable(client.statuses.join(u'\n')));
        }
    }

    // A CTCP VERSION or PING is answered with a notice to whoever asked.
    void ctcpAnswers_data() {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("version") << QByteArray(":a!b@c PRIVMSG zorvel :\x01"
                                               "VERSION\x01")
                                 << QByteArray("NOTICE a :\x01"
                                               "VERSION chathost\x01");
        QTest::newRow("ping in lower case, unclosed") << QByteArray(":a!b@c PRIVMSG zorvel :\x01"
                                                                    "ping 42 x")
                                                      << QByteArray("NOTICE a :\x01"
                                                                    "PING 42 x\x01");
    }
    void ctcpAnswers() {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        FakeIrcServer server;
        Client client(config(server.port()));
        QSignalSpy spy(&client.connection, &IrcConnection::message);
        client.connection.start();
        welcome(server, 0);
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z");
        server.sendLine(request);
        QVERIFY(server.waitForLine(answer) >= 0);
        QCOMPARE(spy.size(), 0);
    }

    void speechKinds_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("message") << QByteArray(":a!b@c PRIVMSG #z :\x02hi")
                                 << int(IrcConnection::Kind::Message) << "\x02hi";
        QTest::newRow("action") << QByteArray(":a!b@c PRIVMSG #z :\x01"
                                              "ACTION waves\x01")
                                << int(IrcConnection::Kind::Action) << "waves";
        QTest::newRow("notice") << QByteArray(":a!b@c NOTICE #z :note")
                                << int(IrcConnection::Kind::Notice) << "note";
        QTest::newRow("Latin-1") << QByteArray(":a!b@c PRIVMSG #z :caf\xe9")
                                 << int(IrcConnection::Kind::Message) << "café";
    }
    void speechKinds() {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(QString, text);
        FakeIrcServer server;
        Client client(config(server.port()));
        QSignalSpy spy(&client.connection, &IrcConnection::message);
        client.connection.start();
        welcome(server, 0);
        server.sendLine(line);
        QVERIFY(spy.wait(3000));
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("#z"));
        QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("a"));
        QCOMPARE(spy.at(0).at(2).toString(), text);
        QCOMPARE(int(spy.at(0).at(3).value<IrcConnection::Kind>()), kind);
    }
};

QTEST_MAIN(TestIrcFakeServer)
#include "tst_ircfakeserver.moc"
