// chathost's channel rooms in-process: the command line made into networks,
// and a room wired to a scripted server (what is posted goes out as IRC
// formatting; what the channel says, who is in it and the connection's state
// show in the room, escaped; nothing of the status goes out).
#include "chathost/chatroom.h"
#include "chathost/hostoptions.h"
#include "chathost/ircrooms.h"
#include "tests/irc/fakeircserver.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>

#include <memory>
#include <vector>

using chathost::HostOptions;

using namespace Qt::StringLiterals;

namespace {

chathost::NetworkSetup networkOn(const FakeIrcServer &server) {
    chathost::NetworkSetup network;
    network.config.name = network.config.host = u"127.0.0.1"_s;
    network.config.port = server.port();
    network.config.tls = false;
    network.config.nick = network.config.userName = network.config.realName = u"zorvel"_s;
    network.config.channels = {u"#z"_s};
    return network;
}

// Plays the server's part until the room is in #z, with its modes known.
bool joinChannel(FakeIrcServer &server) {
    if (server.waitForLine("USER ") < 0)
        return false;
    server.sendLine(":srv 001 zorvel :hi");
    if (server.waitForLine("JOIN #z") < 0)
        return false;
    server.sendLine(":zorvel!zorvel@127.0.0.1 JOIN #z\r\n:srv 353 zorvel = #z :zorvel @op\r\n"
                    ":srv 366 zorvel #z :End");
    // The channel's lines wait for its modes.
    if (server.waitForLine("MODE #z") < 0)
        return false;
    server.sendLine(":srv 324 zorvel #z +nt");
    return true;
}

} // namespace

class TestIrcRooms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("rooms"); // empty: refused
        QTest::addColumn<QString>("nick");
        QTest::newRow("TLS") << QStringList{u"--irc"_s, u"ircs://h/#a,#b"_s, u"--nick"_s, u"zed"_s}
                             << QStringList{u"#a"_s, u"#b"_s} << u"zed"_s;
        QTest::newRow("plain with --insecure")
            << QStringList{u"--irc"_s, u"irc://h/#a"_s, u"--nick"_s, u"zed"_s, u"--insecure"_s}
            << QStringList{u"#a"_s} << u"zed"_s;
        QTest::newRow("plain without --insecure")
            << QStringList{u"--irc"_s, u"irc://h/#a"_s, u"--nick"_s, u"zed"_s} << QStringList{}
            << u""_s;
        QTest::newRow("screen name as nick")
            << QStringList{u"--irc"_s, u"ircs://h/#a"_s, u"-s"_s, u"Bob"_s} << QStringList{u"#a"_s}
            << u"Bob"_s;
        QTest::newRow("bad nick") << QStringList{u"--irc"_s, u"ircs://h/#a"_s, u"--nick"_s,
                                                 u"9lives"_s}
                                  << QStringList{} << "";
        QTest::newRow("same channel on two networks")
            << QStringList{u"--irc"_s,       u"ircs://h/#a"_s, u"--irc"_s,
                           u"ircs://k/#a"_s, u"--nick"_s,      u"zed"_s}
            << QStringList{u"#a"_s, u"#a (k)"_s} << u"zed"_s;
        QTest::newRow("SASL without a password file")
            << QStringList{u"--irc"_s, u"ircs://h/#a"_s, u"--nick"_s,
                           u"zed"_s,   u"--sasl-user"_s, u"acct"_s}
            << QStringList{} << "";
        QTest::newRow("network not in the settings file")
            << QStringList{u"--network"_s, u"home"_s, u"--nick"_s, u"zed"_s} << QStringList{}
            << u""_s;
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

    // Which mode each channel's room gets: --announce over the channel's key
    // over the network's over changes; a mode no one knows is refused.
    void announceModes_data() {
        QTest::addColumn<QStringList>("arguments"); // besides --network home --nick zed
        QTest::addColumn<QByteArray>("keys");       // the network's announce keys in the file
        QTest::addColumn<QStringList>("modes");     // of #a, #b; empty: refused
        QTest::newRow("nothing said")
            << QStringList{} << QByteArray() << QStringList{u"changes"_s, u"changes"_s};
        QTest::newRow("the network's key") << QStringList{} << QByteArray("announce=quiet\n")
                                           << QStringList{u"quiet"_s, u"quiet"_s};
        QTest::newRow("a channel's key over the network's")
            << QStringList{} << QByteArray("announce=quiet\nannounce.#B=full\n")
            << QStringList{u"quiet"_s, u"full"_s};
        QTest::newRow("the command line over both")
            << QStringList{u"--announce"_s, u"changes"_s}
            << QByteArray("announce=quiet\nannounce.#b=full\n")
            << QStringList{u"changes"_s, u"changes"_s};
        QTest::newRow("unknown in the file")
            << QStringList{} << QByteArray("announce.#a=loud\n") << QStringList{};
        QTest::newRow("unknown on the command line")
            << QStringList{u"--announce"_s, u"all"_s} << QByteArray() << QStringList{};
    }
    void announceModes() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, keys);
        QFETCH(QStringList, modes);
        TestEnv env;
        QDir(env.configDir()).mkpath(u"chathost"_s);
        QFile file(env.configDir() + u"/chathost/networks.ini"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[home]\nhost=irc.example.org\nchannels=#a, #b\n" + keys);
        file.close();
        QString error;
        bool help = false;
        const auto options = chathost::parseHostOptions(
            arguments + QStringList{u"--network"_s, u"home"_s, u"--nick"_s, u"zed"_s}, &error,
            &help);
        const auto networks =
            options ? chathost::networksFromOptions(*options, &error) : std::nullopt;
        QCOMPARE(networks.has_value(), !modes.isEmpty());
        if (!networks) {
            QVERIFY(error.contains(u"full, changes or quiet"_s));
            return;
        }
        const auto byRoom = chathost::channelRoomAnnounce(*networks);
        QCOMPARE(chatwire::announceModeName(byRoom.value(u"#a"_s)), modes.at(0));
        QCOMPARE(chatwire::announceModeName(byRoom.value(u"#b"_s)), modes.at(1));
    }

    void localRoomsOnlyWhenAsked() {
        QString error;
        bool help = false;
        QVERIFY(!chathost::parseHostOptions({u"--irc"_s, u"ircs://h/#a"_s}, &error, &help)
                     ->localRoomsAsked);
        QVERIFY(chathost::parseHostOptions({u"--irc"_s, u"ircs://h/#a"_s, u"--rooms"_s, u"2"_s},
                                           &error, &help)
                    ->localRoomsAsked);
        QVERIFY(chathost::parseHostOptions({u"--irc"_s, u"ircs://h/#a"_s, u"--room"_s, u"Den"_s},
                                           &error, &help)
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
        chathost::ChatRoom room(u"Lobby"_s, u"me"_s);
        room.setScrollback(scrollback);
        for (int i = 0; i < posted; ++i)
            room.appendHtml(QStringLiteral("<b>line</b> %1").arg(i));
        const QStringList kept = room.transcript()->toPlainText().split(u'\n');
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
        auto owned = std::make_unique<chathost::ChatRoom>(u"#z"_s, u"zorvel"_s);
        chathost::ChatRoom &room = *owned;
        chathost::IrcRooms rooms({networkOn(server)}, {owned.get()},
                                 [](const QString &) { return nullptr; });
        QStringList statuses;
        connect(&rooms, &chathost::IrcRooms::statusShown,
                [&](const QString &, const QString &text) { statuses << text; });
        rooms.start();
        QVERIFY(joinChannel(server));
        QVERIFY(waitFor([&] { return room.findChild<QListWidget *>()->count() == 2; }, 3000));

        // Typed into the room: out as IRC formatting, and as an action.
        room.entry()->setText(u"<b>bold</b> &amp; <font color=#FF0000>red</font>"_s);
        QTest::keyClick(room.entry(), Qt::Key_Return);
        QVERIFY(server.waitForLine("PRIVMSG #z :\x02"
                                   "bold\x02 & \x03"
                                   "04red") >= 0);
        room.entry()->setText(u"/me waves"_s);
        QTest::keyClick(room.entry(), Qt::Key_Return);
        QVERIFY(server.waitForLine("PRIVMSG #z :\x01"
                                   "ACTION waves\x01") >= 0);

        // Heard in the channel: shown, markup escaped, formatting rendered.
        server.sendLine(":op!u@h PRIVMSG #z :<i>not markup</i> \x02"
                        "bold");
        QVERIFY(waitFor(
            [&] {
                return room.transcript()->toPlainText().contains(u"op: <i>not markup</i> bold"_s);
            },
            3000));
        QVERIFY(room.transcript()->toHtml().contains(u"font-weight:700"_s));
        QVERIFY(statuses.join(u'\n').contains(u"joined #z as zorvel"_s));
        QVERIFY(statuses.join(u'\n').contains(u"announce mode changes: "_s));
        // Status lines never went to the server.
        for (const FakeIrcServer::Line &line : server.lines())
            QVERIFY2(!line.text.contains("joined"), line.text.constData());

        // The user closes the room: what the channel says later goes nowhere.
        owned.reset();
        server.sendLine(":op!u@h PRIVMSG #z :still there?\r\n:op!u@h NICK op2\r\nPING :after");
        QVERIFY(server.waitForLine("PONG :after") >= 0);
        rooms.posted(u"#z"_s, u"into no room"_s);
        rooms.stop();
    }

    // What a real server never does on demand: our own nick changed under an
    // open conversation, which goes on under the new one. A notice opens no
    // conversation: it shows in the sender's if open, else in the channel's room.
    void conversationAcrossOurNickChange() {
        TestEnv env;
        FakeIrcServer server;
        chathost::ChatRoom room(u"#z"_s, u"zorvel"_s);
        std::vector<std::unique_ptr<chathost::ChatRoom>> opened;
        chathost::IrcRooms rooms({networkOn(server)}, {&room}, [&](const QString &name) {
            opened.push_back(std::make_unique<chathost::ChatRoom>(
                name, u"?"_s, nullptr, chathost::ChatRoom::Kind::Conversation));
            return opened.back().get();
        });
        rooms.start();
        QVERIFY(joinChannel(server));
        server.sendLine(":NickServ!s@services NOTICE zorvel :identify, please\r\n"
                        ":bob!u@h PRIVMSG zorvel :hi\r\n:bob!u@h NOTICE zorvel :a notice\r\n"
                        ":zorvel!zorvel@127.0.0.1 NICK zed");
        // The channel's room sees our new nick after the conversation opened.
        QVERIFY(waitFor([&] { return room.transcript()->toPlainText().contains(u"zed"_s); }, 3000));
        QCOMPARE(opened.size(), 1u);
        chathost::ChatRoom &bob = *opened.front();
        QCOMPARE(bob.name(), u"bob"_s);
        QVERIFY(bob.transcript()->toPlainText().contains(u"bob: hi\n-bob-: a notice"_s));
        QVERIFY(room.transcript()->toPlainText().contains(u"-NickServ-: identify, please"_s));
        bob.entry()->setText(u"hello"_s);
        QTest::keyClick(bob.entry(), Qt::Key_Return);
        QVERIFY(server.waitForLine("PRIVMSG bob :hello") >= 0);
        QVERIFY(bob.transcript()->toPlainText().contains(u"zed: hello"_s));
        rooms.stop();
    }
};

QTEST_MAIN(TestIrcRooms)
#include "tst_ircrooms.moc"
