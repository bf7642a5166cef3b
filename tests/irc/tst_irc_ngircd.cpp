// chathost on a real IRC network: Debian's ngircd started by the test on
// loopback ports, a bare observer client in the channel checking the bytes
// that arrive, and the real zorvel and chathost processes.
#include "hostlink/chatlink.h"
#include "hostlink/pause.h"
#include "irc/ircconnection.h"
#include "irc/ircrenderer.h"
#include "irc/linesplitter.h"
#include "irc/sendqueue.h"
#include "menus/menulines.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/irc/ctcpflood.h"
#include "tests/irc/expectedirc.h"
#include "tests/irc/hostsocketworld.h"
#include "tests/irc/ircobserver.h"
#include "tests/irc/ngircdserver.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"
#include "tests/zorvelprocess.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextDocument>
#include <memory>

using irc::IrcConnection;
using settings::Field;

using namespace Qt::StringLiterals;

namespace {

const QByteArray kChannel = "#zorvel";

QString shown(const QString &html) {
    QTextDocument document;
    document.setHtml(html);
    return document.toPlainText();
}

// Every line of zorvel's reaches the channel, as these tests expect.
QStringList hostArguments(const QString &url, const QStringList &more = {}) {
    return QStringList{u"--irc"_s, url, u"--nick"_s, u"zorvel"_s, u"--announce"_s, u"full"_s} +
           more;
}

QString plainUrl(const NgircdServer &server) {
    return QStringLiteral("irc://127.0.0.1:%1/%2")
        .arg(server.port())
        .arg(QString::fromLatin1(kChannel));
}

} // namespace

class TestIrcNgircd : public QObject {
    Q_OBJECT
    std::unique_ptr<HostSocketWorld> m_world;

    // The front room's transcript, as a client reads it through the socket.
    QString roomText() {
        m_world->ws.beginExchange();
        const platform::WindowHandle room = hostlink::findRoom();
        const platform::WindowHandle transcript = m_world->ws.findWindowEx(room, 0, "RICHCNTL");
        return platform::fromCp1252(m_world->ws.windowText(transcript).value_or(QByteArray()));
    }
    // A server, an observer in the channel and chathost joined to it.
    struct Channel {
        NgircdServer server;
        IrcObserver observer;
        std::unique_ptr<ChatHostProcess> host;
    };
    bool join(Channel &channel) {
        if (!channel.server.start()) {
            qWarning() << channel.server.error();
            return false;
        }
        if (!channel.observer.join(channel.server.port(), "observer", kChannel))
            return false;
        channel.host = std::make_unique<ChatHostProcess>(
            hostArguments(plainUrl(channel.server), {u"--insecure"_s}));
        if (!channel.host->start()) {
            qWarning() << channel.host->output();
            return false;
        }
        return channel.observer.waitFor(":zorvel!") >= 0;
    }
    bool roomSays(const QString &part, int ms = 10000) {
        return waitFor([&] { return roomText().contains(part); }, ms);
    }
    QString writeSecret(const QByteArray &secret, QFile::Permissions permissions) {
        const QString path = m_world->env.homeDir() + u"/irc.pass"_s;
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(secret + '\n');
        file.close();
        file.setPermissions(permissions);
        return path;
    }

private Q_SLOTS:
    void initTestCase() {
        if (NgircdServer::executable().isEmpty())
            QSKIP("ngircd is not installed here: scripts/setup-irc.sh unpacks Debian's package "
                  "into build/ngircd");
    }
    void init() { m_world = std::make_unique<HostSocketWorld>(); }
    void cleanup() { m_world.reset(); }

    // zorvel's real start-up lines reach the channel as IRC formatting, and
    // what someone says in the channel shows in the room, escaped.
    void startupLinesReachTheChannel() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &observer = channel.observer;
        // The first channel's room is the one in front of the rooms.
        QCOMPARE(channel.host->documentsFrontToBack().mid(0, 2),
                 (QStringList{u"Welcome"_s, u"#zorvel"_s}));
        QVERIFY(roomSays(u"plain connection"_s));

        ZorvelProcess zorvel;
        QVERIFY(waitFor([&] { return observer.messagesFrom("zorvel").size() >= 2; }, 20000));
        const auto lines = observer.messagesFrom("zorvel");
        observer.logLinesFrom("zorvel");
        QCOMPARE(lines.at(0).text, kLoadLine1Irc);
        QCOMPARE(lines.at(1).text, kLoadLine2Irc);
        // The room shows the same words.
        QVERIFY(roomSays(irc::stripFormatting(QString::fromUtf8(kLoadLine1Irc))));

        observer.sendLine("PRIVMSG #zorvel :hello \x02<b>you</b>\x02 & all");
        QVERIFY2(roomSays(u"observer: hello <b>you</b> & all"_s), qPrintable(roomText()));
        observer.sendLine("PRIVMSG #zorvel :\x01"
                          "ACTION waves\x01");
        QVERIFY(roomSays(u"* observer waves"_s));
        // The people list has both.
        QVERIFY(!roomText().contains(u"PRIVMSG"_s));
    }

    void tls_data() {
        QTest::addColumn<bool>("selfSigned");
        QTest::addColumn<bool>("withCa");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("signed by the test's CA, CA given") << false << true << true;
        QTest::newRow("signed by the test's CA, CA not given") << false << false << false;
        QTest::newRow("self-signed") << true << true << false;
    }
    void tls() {
        QFETCH(bool, selfSigned);
        QFETCH(bool, withCa);
        QFETCH(bool, accepted);
        NgircdServer server({{}, selfSigned});
        QVERIFY2(server.start(), qPrintable(server.error()));
        IrcObserver observer;
        QVERIFY(observer.join(server.port(), "observer", kChannel));
        QStringList more;
        if (withCa)
            more << u"--ca-file"_s << server.caFile();
        ChatHostProcess host(hostArguments(
            QStringLiteral("ircs://127.0.0.1:%1/#zorvel").arg(server.tlsPort()), more));
        QVERIFY2(host.start(), qPrintable(host.output()));
        if (accepted) {
            QVERIFY(observer.waitFor(":zorvel!") >= 0);
            hostlink::chatSend(QStringLiteral("<b>safe</b>"), hostlink::LineKind::Load);
            QVERIFY(observer.waitFor("PRIVMSG #zorvel :\x02safe") >= 0);
        } else {
            QVERIFY2(roomSays(u"certificate is not trusted"_s), qPrintable(roomText()));
            QCOMPARE(observer.waitFor(":zorvel!", 0, 500), -1);
        }
    }

    void serverPassword_data() {
        QTest::addColumn<QByteArray>("secret");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << QByteArray("sesame") << true;
        QTest::newRow("wrong") << QByteArray("open up") << false;
    }
    void serverPassword() {
        QFETCH(QByteArray, secret);
        QFETCH(bool, accepted);
        NgircdServer server({"sesame", false});
        QVERIFY2(server.start(), qPrintable(server.error()));
        IrcObserver observer;
        QVERIFY(observer.join(server.port(), "observer", kChannel, 10000, "sesame"));
        const QString file = writeSecret(secret, QFile::ReadOwner | QFile::WriteOwner);
        ChatHostProcess host(
            hostArguments(plainUrl(server), {u"--insecure"_s, u"--password-file"_s, file}));
        QVERIFY2(host.start(), qPrintable(host.output()));
        if (accepted) {
            QVERIFY(observer.waitFor(":zorvel!") >= 0);
        } else {
            // ngircd's own words for it; other servers answer 464, which
            // chathost words as "refused the password".
            QVERIFY2(roomSays(u"Bad password"_s), qPrintable(roomText()));
            QCOMPARE(observer.waitFor(":zorvel!", 0, 300), -1);
        }
        // The password shows nowhere.
        QVERIFY(!roomText().contains(QString::fromUtf8(secret)));
        QVERIFY(!host.output().contains(QString::fromUtf8(secret)));
    }

    void passwordFileOthersCanReadIsRefused() {
        const QString file =
            writeSecret("sesame", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        QProcess chathost;
        chathost.setProcessChannelMode(QProcess::MergedChannels);
        chathost.start(ChatHostProcess::executable(),
                       hostArguments(u"irc://127.0.0.1:1/#zorvel"_s,
                                     {u"--insecure"_s, u"--password-file"_s, file}));
        QVERIFY(chathost.waitForFinished(10000));
        QCOMPARE(chathost.exitCode(), 2);
        const QString output = QString::fromLocal8Bit(chathost.readAll());
        QVERIFY2(output.contains(u"chmod 600 "_s + file), qPrintable(output));
        QVERIFY(!output.contains(u"sesame"_s));
    }

    void plainConnectionNeedsInsecure() {
        QProcess chathost;
        chathost.setProcessChannelMode(QProcess::MergedChannels);
        chathost.start(ChatHostProcess::executable(),
                       hostArguments(u"irc://127.0.0.1:1/#zorvel"_s));
        QVERIFY(chathost.waitForFinished(10000));
        QCOMPARE(chathost.exitCode(), 2);
        QVERIFY(chathost.readAll().contains("--insecure"));
    }

    // The server killed and started again: chathost connects again, joins
    // again, and a line posted then arrives.
    void serverRestarted() {
        NgircdServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        ChatHostProcess host(hostArguments(plainUrl(server), {u"--insecure"_s}));
        QVERIFY2(host.start(), qPrintable(host.output()));
        QVERIFY(roomSays(u"joined #zorvel"_s));
        server.kill();
        QVERIFY2(roomSays(u"connecting again in"_s), qPrintable(roomText()));
        QVERIFY2(server.start(), qPrintable(server.error()));
        IrcObserver observer;
        QVERIFY(observer.join(server.port(), "observer", kChannel));
        QVERIFY2(observer.waitFor(":zorvel!", 0, 20000) >= 0, qPrintable(roomText()));
        hostlink::chatSend(QStringLiteral("back again"), hostlink::LineKind::Load);
        QVERIFY(observer.waitFor("PRIVMSG #zorvel :back again") >= 0);
        // chathost's window answered throughout.
        QVERIFY(host.isRunning());
    }

    // The four statistics lines arrive in order, none lost; then a 64 KB line
    // arrives as four pieces, none refused, each within the line limit and
    // paced behind the burst.
    void statisticsAndALongLine() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &observer = channel.observer;
        // ngircd holds a new member's commands back for a moment (its penalty
        // for JOIN and the MODE query): an answer to a CTCP PING shows it has
        // caught up, so the arrivals below are chathost's pacing alone.
        observer.sendLine("PRIVMSG zorvel :\x01PING caught-up\x01");
        QVERIFY(observer.waitFor("NOTICE observer :\x01PING caught-up") >= 0);
        const qsizetype start = observer.lines().size();

        const settings::PlainRecord d = firstStartRecord();
        const QStringList stats = {
            menus::statsLoadsLine(d, QStringLiteral("frobble"), QStringLiteral("3")),
            menus::statsStyleLine(d), menus::statsColoursLine(d),
            menus::statsIdleLine(d, QStringLiteral("0:12"), QStringLiteral("42"))};
        // As the menu posts them: a pause before each.
        const double pauses[] = {0.36, 1, 1.46, 1};
        for (int i = 0; i < 4; ++i) {
            hostlink::pause(hostlink::wholeSeconds(pauses[i]));
            hostlink::chatSend(stats[i], hostlink::LineKind::Statistics);
        }
        QByteArray longLine;
        for (int i = 0; longLine.size() < 64 * 1024 - 100; ++i)
            longLine += "<font color=#FF0000>w\xf8rd</font> " + QByteArray::number(i) + ' ';
        hostlink::chatSend(platform::fromCp1252(longLine), hostlink::LineKind::Load);

        QVERIFY(waitFor([&] { return observer.messagesFrom("zorvel", start).size() >= 8; }, 40000));
        const auto got = observer.messagesFrom("zorvel", start);
        QCOMPARE(got.size(), 8);
        QStringList arrivals;
        for (const auto &line : got)
            arrivals << QString::number(line.ms - got[0].ms);
        qInfo("arrival at the observer, ms after the first statistics line: %s",
              qPrintable(arrivals.join(QStringLiteral(", "))));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(irc::stripFormatting(QString::fromUtf8(got[i].text)), shown(stats[i]));
        for (int i = 4; i < 8; ++i) {
            // ":zorvel!~zorvel@127.0.0.1 PRIVMSG #zorvel :" + text + CR LF
            const qsizetype relayed =
                QByteArray(":zorvel!~zorvel@127.0.0.1 PRIVMSG #zorvel :").size() +
                got[i].text.size() + 2;
            QVERIFY2(relayed <= irc::kMaxLineBytes && relayed > 400,
                     qPrintable(QString::number(relayed)));
            // Past the burst of four, a line leaves no sooner than its turn:
            // one interval of at least 2 s after the line whose place in the
            // burst it takes.
            const qint64 after = got[i].ms - got[i - 4].ms;
            QVERIFY2(after >= 1900, qPrintable(QStringLiteral("line %1 came %2 ms after line %3")
                                                   .arg(i)
                                                   .arg(after)
                                                   .arg(i - 4)));
        }
        // The pieces are the line's start, in order, split at blanks.
        QStringList pieces;
        for (int i = 4; i < 8; ++i)
            pieces << irc::stripFormatting(QString::fromUtf8(got[i].text));
        const QString whole = shown(platform::fromCp1252(longLine));
        QVERIFY(whole.startsWith(pieces.join(QLatin1Char(' '))));
        QCOMPARE(observer.waitFor(" 417 ", start, 0), -1);
        QVERIFY(roomSays(u"were not sent"_s));
    }

    // Eight clients send 96 CTCP PINGs while zorvel posts: every line of
    // zorvel's arrives, none behind a reply to the flood past its first
    // rounds, and the replies that went out keep to the automatic replies'
    // limits (one per asker in 10 s, four a minute in all). How long the
    // lines waited is bench_suite's ircflood figure.
    void ctcpFloodLeavesTheUsersLinesFirst() {
        Channel channel;
        QVERIFY(join(channel));
        const CtcpFlood flood;
        const CtcpFlood::Result result =
            flood.run(channel.server.port(), kChannel, "zorvel", channel.observer,
                      [](const QByteArray &line) {
                          hostlink::chatSend(QString::fromLatin1(line), hostlink::LineKind::Load);
                      });
        QVERIFY(result.joined);
        QVERIFY(result.requests >= 80);
        QCOMPARE(result.arrivedMs.size(), result.posted.size());
        QVERIFY(!result.replies.isEmpty()); // the first few are answered
        QVERIFY2(result.replies.size() <= irc::SendQueue::kRepliesPerWindow,
                 qPrintable(QString::number(result.replies.size())));
        const qint64 lastLine = result.arrivedMs.last();
        for (const CtcpFlood::Reply &reply : result.replies) {
            // Past the first two rounds, a request waits behind every line.
            if (reply.request >= 2 * flood.clients)
                QVERIFY2(reply.ms > lastLine, qPrintable(QString::number(reply.request)));
            for (const CtcpFlood::Reply &other : result.replies) {
                if (&other != &reply && other.client == reply.client)
                    QVERIFY(std::abs(other.ms - reply.ms) >= irc::SendQueue::kPerSenderMs - 500);
            }
        }
    }

    // A text longer than a line, without a blank, is cut where the room ends:
    // the first piece fills the server's relayed line to exactly 512 bytes
    // (prefix and CR LF counted), for each kind of message, and the pieces
    // together are the whole text, so no byte was cut off by the server.
    void aFullLineIsRelayedAs512Bytes_data() {
        QTest::addColumn<IrcConnection::Kind>("kind");
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("message") << IrcConnection::Kind::Message << QByteArray(" PRIVMSG ");
        QTest::newRow("notice") << IrcConnection::Kind::Notice << QByteArray(" NOTICE ");
        QTest::newRow("action") << IrcConnection::Kind::Action << QByteArray(" PRIVMSG ");
    }
    void aFullLineIsRelayedAs512Bytes() {
        QFETCH(IrcConnection::Kind, kind);
        QFETCH(QByteArray, command);
        NgircdServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        IrcObserver observer;
        QVERIFY(observer.join(server.port(), "observer", kChannel));
        irc::NetworkConfig config;
        config.name = config.host = u"127.0.0.1"_s;
        config.port = server.port();
        config.tls = false;
        config.nick = config.userName = config.realName = u"zorvel"_s;
        config.channels = {QString::fromLatin1(kChannel)};
        IrcConnection connection(config);
        bool joined = false;
        connect(&connection, &IrcConnection::joined, this, [&] { joined = true; });
        connection.start();
        QVERIFY(waitFor([&] { return joined; }, 10000));

        const QByteArray text(700, 'x');
        QCOMPARE(connection.sendText(QString::fromLatin1(kChannel), text, kind), 2);
        const QByteArray action = kind == IrcConnection::Kind::Action ? "\x01"
                                                                        "ACTION "
                                                                      : "";
        const QByteArray lead = command + kChannel + " :" + action;
        QList<QByteArray> relayed;
        QVERIFY(waitFor(
            [&] {
                relayed.clear();
                for (const IrcObserver::Line &line : observer.lines())
                    if (line.text.startsWith(":zorvel!") && line.text.contains(lead))
                        relayed << line.text;
                return relayed.size() == 2;
            },
            10000));
        QCOMPARE(relayed.at(0).size() + 2, qsizetype(irc::kMaxLineBytes));
        QByteArray whole;
        for (const QByteArray &line : std::as_const(relayed)) {
            QByteArray piece = line.mid(line.indexOf(lead) + lead.size());
            if (!action.isEmpty()) {
                QVERIFY(piece.endsWith('\x01'));
                piece.chop(1);
            }
            whole += piece;
        }
        QCOMPARE(whole, text);
        connection.stop(u"bye"_s);
    }

    // A private message opens a conversation behind the room in front; in
    // front, it is passed over by the room search, so zorvel's next line goes
    // to the channel; what is typed there reaches that person alone, under
    // the nick the person goes by later.
    void conversationWithOnePerson() {
        Channel channel;
        QVERIFY(join(channel));
        ChatHostProcess &host = *channel.host;
        IrcObserver person;
        QVERIFY(person.join(channel.server.port(), "friend", kChannel));
        person.sendLine("PRIVMSG zorvel :are you \x02there\x02?");
        QVERIFY(waitFor([&] { return host.documentsFrontToBack().contains(u"friend"_s); }, 10000));
        QCOMPARE(host.documentsFrontToBack().first(), u"Welcome"_s);
        QVERIFY(waitFor(
            [&] { return host.transcriptText(u"friend"_s).contains(u"friend: are you there?"_s); },
            10000));
        QVERIFY(roomSays(u"friend writes to you alone"_s));

        QVERIFY(host.bringToFront(u"friend"_s));
        QCOMPARE(host.documentsFrontToBack().first(), u"friend"_s);
        hostlink::chatSend(u"zorvel's line"_s, hostlink::LineKind::Load);
        QVERIFY(channel.observer.waitFor("PRIVMSG #zorvel :zorvel's line") >= 0);

        QVERIFY(host.postInRoom(u"friend"_s, u"<b>just</b> between us"_s));
        QVERIFY(person.waitFor(
                    ":zorvel!~zorvel@127.0.0.1 PRIVMSG friend :\x02just\x02 between us") >= 0);
        person.sendLine("NICK buddy");
        QVERIFY(waitFor(
            [&] {
                const QStringList documents = host.documentsFrontToBack();
                return documents.contains(u"buddy"_s) && !documents.contains(u"friend"_s);
            },
            10000));
        person.sendLine("PRIVMSG zorvel :\x01"
                        "ACTION nods\x01");
        QVERIFY(waitFor([&] { return host.transcriptText(u"buddy"_s).contains(u"* buddy nods"_s); },
                        10000));
        QCOMPARE(host.documentsFrontToBack().size(), 3); // no second conversation
        QVERIFY(host.postInRoom(u"buddy"_s, u"still here"_s));
        QVERIFY(person.waitFor("PRIVMSG buddy :still here") >= 0);
        // The transcript names each line's room as it was called then.
        QStringList transcript;
        for (const TranscriptRecord &record : host.records())
            transcript << record.room + u'\t' + QString::fromLatin1(record.bytes);
        QVERIFY2(
            transcript.join(u'\n').contains(u"friend\t<b>just</b> between us\nbuddy\tstill here"_s),
            qPrintable(transcript.join(u'\n')));

        // The channel heard none of it: a line posted after it arrives alone.
        const qsizetype from = channel.observer.lines().size();
        hostlink::chatSend(u"the end"_s, hostlink::LineKind::Load);
        QVERIFY(channel.observer.waitFor("PRIVMSG #zorvel :the end", from) >= 0);
        for (const IrcObserver::Line &line : channel.observer.lines())
            QVERIFY2(!line.text.contains("between us") && !line.text.contains("still here"),
                     line.text.constData());
    }

    // Away set and cleared through the socket's SetAway, as zorvel's idle on
    // and off do it, seen by anyone through WHOIS.
    void away() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &observer = channel.observer;

        hostlink::setAway(true, QStringLiteral("gone fishing"));
        QVERIFY(roomSays(u"you are marked as away"_s));
        observer.sendLine("WHOIS zorvel");
        const qsizetype away = observer.waitFor(" 301 observer zorvel :gone fishing");
        QVERIFY(away >= 0);

        hostlink::setAway(false);
        QVERIFY(roomSays(u"you are no longer marked as away"_s));
        const qsizetype from = observer.lines().size();
        observer.sendLine("WHOIS zorvel");
        QVERIFY(observer.waitFor(" 318 observer zorvel", from) >= 0);
        QCOMPARE(observer.waitFor(" 301 ", from, 0), -1);
    }
};

QTEST_MAIN(TestIrcNgircd)
#include "tst_irc_ngircd.moc"
