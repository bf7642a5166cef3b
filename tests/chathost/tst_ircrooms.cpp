// chathost's channel rooms in-process: the command line made into networks,
// and a room wired to a scripted server (what is posted goes out as IRC
// formatting; what the channel says, who is in it and the connection's state
// show in the room, escaped; nothing of the status goes out).
#include "chatroom.h"
#include "fakeircserver.h"
#include "hostoptions.h"
#include "ircrooms.h"
#include "testenv.h"
#include "waitfor.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>

using chathost::HostOptions;

class TestIrcRooms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("rooms"); // empty: refused
        QTest::addColumn<QString>("nick");
        QTest::newRow("TLS") << QStringList{"--irc", "ircs://h/#a,#b", "--nick", "zed"}
                             << QStringList{"#a", "#b"} << "zed";
        QTest::newRow("plain with --insecure")
            << QStringList{"--irc", "irc://h/#a", "--nick", "zed", "--insecure"}
            << QStringList{"#a"} << "zed";
        QTest::newRow("plain without --insecure")
            << QStringList{"--irc", "irc://h/#a", "--nick", "zed"} << QStringList{} << "";
        QTest::newRow("screen name as nick")
            << QStringList{"--irc", "ircs://h/#a", "-s", "Bob"} << QStringList{"#a"} << "Bob";
        QTest::newRow("bad nick") << QStringList{"--irc", "ircs://h/#a", "--nick", "9lives"}
                                  << QStringList{} << "";
        QTest::newRow("same channel on two networks")
            << QStringList{"--irc", "ircs://h/#a", "--irc", "ircs://k/#a", "--nick", "zed"}
            << QStringList{"#a", "#a (k)"} << "zed";
        QTest::newRow("SASL without a password file")
            << QStringList{"--irc", "ircs://h/#a", "--nick", "zed", "--sasl-user", "acct"}
            << QStringList{} << "";
        QTest::newRow("network not in the settings file")
            << QStringList{"--network", "home", "--nick", "zed"} << QStringList{} << "";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, rooms);
        QFETCH(QString, nick);
        TestEnv env;
        QString error;
        bool help = false;
        const auto options = chathost::parseHostOptions(arguments, &error, &help);
        QVERIFY2(options, qPrintable(error));
        QVERIFY(options->joinsIrc());
        QVERIFY(!options->localRoomsAsked);
        const auto networks = chathost::networksFromOptions(*options, &error);
        QCOMPARE(networks.has_value(), !rooms.isEmpty());
        if (!networks) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QCOMPARE(chathost::channelRoomNames(*networks), rooms);
        QCOMPARE(networks->first().config.nick, nick);
    }

    void localRoomsOnlyWhenAsked() {
        QString error;
        bool help = false;
        QVERIFY(
            !chathost::parseHostOptions({"--irc", "ircs://h/#a"}, &error, &help)->localRoomsAsked);
        QVERIFY(chathost::parseHostOptions({"--irc", "ircs://h/#a", "--rooms", "2"}, &error, &help)
                    ->localRoomsAsked);
        QVERIFY(chathost::parseHostOptions({"--irc", "ircs://h/#a", "--room", "Den"}, &error, &help)
                    ->localRoomsAsked);
    }

    // A room keeps its last lines, at most a tenth more than its scrollback.
    void scrollbackKeepsTheLastLines_data() {
        QTest::addColumn<int>("scrollback");
        QTest::addColumn<int>("posted");
        QTest::newRow("one line") << 1 << 5;
        QTest::newRow("a hundred, well past") << 100 << 457;
        QTest::newRow("not reached") << 1000 << 999;
    }
    void scrollbackKeepsTheLastLines() {
        QFETCH(int, scrollback);
        QFETCH(int, posted);
        chathost::ChatRoom room("Lobby", "me");
        room.setScrollback(scrollback);
        for (int i = 0; i < posted; ++i)
            room.appendHtml(QStringLiteral("<b>line</b> %1").arg(i));
        const QStringList kept = room.transcript()->toPlainText().split('\n');
        QVERIFY2(kept.size() >= std::min(scrollback, posted) &&
                     kept.size() <= scrollback + scrollback / 10,
                 qPrintable(QString::number(kept.size())));
        // The newest lines, in order, none missing.
        for (qsizetype i = 0; i < kept.size(); ++i)
            QCOMPARE(kept[i], QStringLiteral("line %1").arg(posted - kept.size() + i));
    }

    void roomIsTheChannel() {
        TestEnv env;
        FakeIrcServer server;
        chathost::NetworkSetup network;
        network.config.name = network.config.host = "127.0.0.1";
        network.config.port = server.port();
        network.config.tls = false;
        network.config.nick = network.config.userName = network.config.realName = "zorvel";
        network.config.channels = {"#z"};
        chathost::ChatRoom room("#z", "zorvel");
        chathost::IrcRooms rooms({network}, {&room});
        QStringList statuses;
        connect(&rooms, &chathost::IrcRooms::statusShown,
                [&](const QString &, const QString &text) { statuses << text; });
        rooms.start();
        QVERIFY(server.waitForLine("USER ") >= 0);
        server.sendLine(":srv 001 zorvel :hi");
        QVERIFY(server.waitForLine("JOIN #z") >= 0);
        server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z\r\n:srv 353 zorvel = #z :zorvel @op\r\n"
                        ":srv 366 zorvel #z :End");
        QVERIFY(waitFor([&] { return room.findChild<QListWidget *>()->count() == 2; }, 3000));

        // Typed into the room: out as IRC formatting, and as an action.
        room.entry()->setText("<b>bold</b> &amp; <font color=#FF0000>red</font>");
        QTest::keyClick(room.entry(), Qt::Key_Return);
        QVERIFY(server.waitForLine("PRIVMSG #z :\x02"
                                   "bold\x02 & \x03"
                                   "04red") >= 0);
        room.entry()->setText("/me waves");
        QTest::keyClick(room.entry(), Qt::Key_Return);
        QVERIFY(server.waitForLine("PRIVMSG #z :\x01"
                                   "ACTION waves\x01") >= 0);

        // Heard in the channel: shown, markup escaped, formatting rendered.
        server.sendLine(":op!u@h PRIVMSG #z :<i>not markup</i> \x02"
                        "bold");
        QVERIFY(waitFor(
            [&] { return room.transcript()->toPlainText().contains("op: <i>not markup</i> bold"); },
            3000));
        QVERIFY(room.transcript()->toHtml().contains("font-weight:700"));
        QVERIFY(statuses.join('\n').contains("joined #z as zorvel"));
        // Status lines never went to the server.
        for (const FakeIrcServer::Line &line : server.lines())
            QVERIFY2(!line.text.contains("joined"), line.text.constData());
        rooms.stop();
    }
};

QTEST_MAIN(TestIrcRooms)
#include "tst_ircrooms.moc"
