// The IRC protocol session fed lines, without a socket: registration with
// CAP and SASL, the nick it falls back to, the JOIN lines, the people and the
// modes of a channel, what is relayed and answered, and what a new
// connection forgets. The clock is the test's.
#include "irc/ircsession.h"

#include <QSignalSpy>
#include <QTest>

using irc::IrcSession;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<QByteArray>)

namespace {

irc::NetworkConfig config() {
    irc::NetworkConfig c;
    c.name = c.host = u"127.0.0.1"_s;
    c.tls = false;
    c.nick = c.userName = c.realName = u"zorvel"_s;
    c.channels = {u"#z"_s};
    return c;
}

// A session and every line it gave, taken as soon as it has them.
struct Session {
    explicit Session(const irc::NetworkConfig &c = config(), const QByteArray &secret = {})
        : session(c, secret, [this] { return now; }) {
        session.setRandom([](int low, int) { return low; });
        QObject::connect(&session, &IrcSession::linesReady,
                         [this] { sent += session.takeLines(); });
        QObject::connect(&session, &IrcSession::status,
                         [this](const QString &, const QString &text) { statuses << text; });
    }
    void feed(const QList<QByteArray> &lines) {
        for (const QByteArray &line : lines)
            session.receive(line);
    }
    // Registered and in #z, its modes known, the lines so far forgotten.
    void joined() {
        session.connectionOpened();
        feed({":srv 001 zorvel :Welcome", ":zorvel!zorvel@127.0.0.1 JOIN #z",
              ":srv 324 zorvel #z +nt"});
        sent.clear();
    }
    qint64 now = 0;
    IrcSession session;
    QList<QByteArray> sent;
    QStringList statuses;
};

} // namespace

class TestIrcSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // From the connection's first line to the JOINs: what the session sends,
    // in order, for what the server says.
    void registration_data() {
        QTest::addColumn<QByteArray>("secret");
        QTest::addColumn<QString>("saslUser");
        QTest::addColumn<int>("channels");
        QTest::addColumn<QList<QByteArray>>("server");
        QTest::addColumn<QList<QByteArray>>("expected");
        const QByteArray auth = "AUTHENTICATE " + QByteArray("acct\0acct\0pw", 12).toBase64();
        const QList<QByteArray> user = {"CAP LS 302", "NICK zorvel", "USER zorvel 0 * :zorvel"};
        QTest::newRow("plain") << QByteArray() << QString() << 1
                               << QList<QByteArray>{":srv CAP * LS :multi-prefix",
                                                    ":srv 001 zorvel :hi"}
                               << user + QList<QByteArray>{"CAP END", "JOIN #z"};
        QTest::newRow("server password")
            << QByteArray("pw") << QString() << 1 << QList<QByteArray>{":srv 001 zorvel :hi"}
            << QList<QByteArray>{"CAP LS 302", "PASS :pw", "NICK zorvel", "USER zorvel 0 * :zorvel",
                                 "JOIN #z"};
        QTest::newRow("SASL over two LS lines")
            << QByteArray("pw") << u"acct"_s << 1
            << QList<QByteArray>{":srv CAP * LS * :multi-prefix",
                                 ":srv CAP * LS :sasl=PLAIN,EXTERNAL",
                                 ":srv CAP zorvel ACK :sasl",
                                 "AUTHENTICATE +",
                                 ":srv 903 zorvel :SASL authentication successful",
                                 ":srv 001 zorvel :hi"}
            << user + QList<QByteArray>{"CAP REQ :sasl", "AUTHENTICATE PLAIN", auth, "CAP END",
                                        "JOIN #z"};
        QTest::newRow("SASL failed, registration goes on")
            << QByteArray("pw") << u"acct"_s << 1
            << QList<QByteArray>{":srv CAP * LS :sasl", ":srv CAP zorvel ACK :sasl",
                                 "AUTHENTICATE +", ":srv 904 zorvel :SASL authentication failed"}
            << user + QList<QByteArray>{"CAP REQ :sasl", "AUTHENTICATE PLAIN", auth, "CAP END"};
        QTest::newRow("SASL not offered") << QByteArray("pw") << u"acct"_s << 1
                                          << QList<QByteArray>{":srv CAP * LS :multi-prefix"}
                                          << user + QList<QByteArray>{"CAP END"};
        QTest::newRow("SASL refused")
            << QByteArray("pw") << u"acct"_s << 1
            << QList<QByteArray>{":srv CAP * LS :sasl", ":srv CAP zorvel NAK :sasl"}
            << user + QList<QByteArray>{"CAP REQ :sasl", "CAP END"};
        QTest::newRow("an endless CAP list is cut at 64 KB")
            << QByteArray("pw") << u"acct"_s << 1
            << QList<QByteArray>(70, ":srv CAP * LS * :" + QByteArray(1000, 'x')) +
                   QList<QByteArray>{":srv CAP * LS :sasl"}
            << user + QList<QByteArray>{"CAP END"};
        QTest::newRow("a PING before the welcome")
            << QByteArray() << QString() << 1 << QList<QByteArray>{"PING :early"}
            << user + QList<QByteArray>{"PONG :early"};
        // 24 names of 49 bytes: ten fit a JOIN line of 512 bytes.
        QTest::newRow("many long channels")
            << QByteArray() << QString() << 24 << QList<QByteArray>{":srv 001 zorvel :hi"}
            << user + QList<QByteArray>{"JOIN <10>", "JOIN <10>", "JOIN <4>"};
    }
    void registration() {
        QFETCH(QByteArray, secret);
        QFETCH(QString, saslUser);
        QFETCH(int, channels);
        QFETCH(QList<QByteArray>, server);
        QFETCH(QList<QByteArray>, expected);
        irc::NetworkConfig c = config();
        c.saslUser = saslUser;
        c.channels.clear();
        for (int i = 0; i < channels; ++i)
            c.channels << (channels == 1 ? u"#z"_s
                                         : u'#' + QString::number(i).rightJustified(48, u'x'));
        Session s(c, secret);
        s.session.connectionOpened();
        s.feed(server);
        QList<QByteArray> sent = s.sent;
        for (QByteArray &line : sent) {
            // A JOIN of many channels: how many it holds, and that it fits.
            if (line.startsWith("JOIN ") && channels > 1) {
                QVERIFY(line.size() + 2 <= 512);
                line = "JOIN <" + QByteArray::number(line.count(',') + 1) + '>';
            }
        }
        QCOMPARE(sent, expected);
    }

    // The nick refused at registration: the next one tried, within the
    // server's nick length.
    void nickFallback_data() {
        QTest::addColumn<QString>("nick");
        QTest::addColumn<QList<QByteArray>>("server");
        QTest::addColumn<QByteArray>("next");
        QTest::newRow("in use") << u"zorvel"_s << QList<QByteArray>{":srv 433 * zorvel :in use"}
                                << QByteArray("NICK zorvel_");
        QTest::newRow("in use, at the nick length")
            << u"zorvelzorv"_s << QList<QByteArray>{":srv 433 * zorvelzorv :in use"}
            << QByteArray("NICK zorvelzo1");
        QTest::newRow("too long") << u"zorvelzorvel"_s
                                  << QList<QByteArray>{":srv 432 * zorvelzorvel :Erroneous"}
                                  << QByteArray("NICK zorvelzor");
        QTest::newRow("not allowed at all")
            << u"zorvel"_s << QList<QByteArray>{":srv 432 * zorvel :Erroneous"}
            << QByteArray("NICK Guest1000");
        QTest::newRow("the server's longer nicks")
            << u"zorvelzorv"_s
            << QList<QByteArray>{":srv 005 * NICKLEN=30 :are supported",
                                 ":srv 433 * zorvelzorv :in use"}
            << QByteArray("NICK zorvelzorv_");
    }
    void nickFallback() {
        QFETCH(QString, nick);
        QFETCH(QList<QByteArray>, server);
        QFETCH(QByteArray, next);
        irc::NetworkConfig c = config();
        c.nick = nick;
        Session s(c);
        s.session.connectionOpened();
        s.feed(server);
        QCOMPARE(s.sent.last(), next);
        s.feed({":srv 001 " + next.mid(5) + " :hi"});
        QCOMPARE(s.session.nick(), QString::fromUtf8(next.mid(5)));
    }

    // What the last server said of itself (005) holds for it alone: the
    // next connection starts from the defaults, and from no people.
    void resetOnReconnect() {
        irc::NetworkConfig c = config();
        c.nick = u"zorvelzorv"_s;
        Session s(c);
        QSignalSpy people(&s.session, &IrcSession::peopleChanged);
        s.session.connectionOpened();
        s.feed({":srv 001 zorvelzorv :hi",
                ":srv 005 zorvelzorv NICKLEN=30 PREFIX=(y)! CHANMODES=b,k,l,c :are supported",
                ":zorvelzorv!u@h JOIN #z", ":srv 324 zorvelzorv #z +n",
                ":srv 353 zorvelzorv = #z :!x zorvelzorv", ":srv 366 zorvelzorv #z :End"});
        QCOMPARE(s.session.people(u"#z"_s), (QStringList{u"!x"_s, u"zorvelzorv"_s}));
        // Chat lines waiting or posted while no connection is open go to the
        // next one; a reply waiting behind them does not.
        for (int i = 0; i < 5; ++i)
            s.session.sendText(u"#z"_s, 'c' + QByteArray::number(i));
        s.feed({":a!b@c PRIVMSG zorvelzorv :\x01PING 1\x01"});
        s.session.connectionClosed();
        s.session.sendText(u"#z"_s, "meanwhile");
        QCOMPARE(people.last().at(1).toStringList(), QStringList());
        QCOMPARE(s.session.serverSupport().prefixes, u"~&@%+"_s);
        QVERIFY(!s.session.serverSupport().hasChannelMode('c'));
        s.sent.clear();
        s.session.connectionOpened();
        s.feed({":srv 433 * zorvelzorv :in use"});
        QCOMPARE(s.sent.last(), QByteArray("NICK zorvelzo1"));
        s.feed({":srv 001 zorvelzo1 :hi", ":zorvelzo1!u@h JOIN #z"});
        s.now += 60'000; // the pacing's burst back
        s.sent += s.session.takeLines();
        QCOMPARE(s.sent.mid(s.sent.size() - 3),
                 (QList<QByteArray>{"MODE #z", "PRIVMSG #z :c4", "PRIVMSG #z :meanwhile"}));
        QVERIFY(!s.sent.join('\n').contains("NOTICE"));
    }

    // The people list follows NAMES, JOIN, NICK, MODE, PART, QUIT and KICK,
    // each event on top of the ones before, and the room says who came and went.
    void peopleFollowTheChannel() {
        const struct {
            QByteArray event;
            QStringList people;
            QString said; // empty: nothing to say
        } steps[] = {
            {":srv 353 zorvel = #z :zorvel @op +v\n:srv 366 zorvel #z :End",
             {u"+v"_s, u"@op"_s, u"zorvel"_s},
             {}},
            {":new!u@h JOIN #z", {u"+v"_s, u"@op"_s, u"new"_s, u"zorvel"_s}, u"new joined"_s},
            // Listed already (a NAMES reply that crossed the JOIN): once.
            {":new!u@h JOIN #z", {u"+v"_s, u"@op"_s, u"new"_s, u"zorvel"_s}, {}},
            {":v!u@h NICK vee",
             {u"+vee"_s, u"@op"_s, u"new"_s, u"zorvel"_s},
             u"v is now known as vee"_s},
            {":op!u@h MODE #z +o-o+v new op new",
             {u"+vee"_s, u"@+new"_s, u"op"_s, u"zorvel"_s},
             {}},
            {":op!u@h PART #z :later", {u"+vee"_s, u"@+new"_s, u"zorvel"_s}, u"op left (later)"_s},
            {":new!u@h QUIT :bye", {u"+vee"_s, u"zorvel"_s}, u"new quit (bye)"_s},
            {":x!u@h KICK #Z vee :out", {u"zorvel"_s}, u"vee was removed by x (out)"_s},
        };
        Session s;
        s.joined();
        for (const auto &step : steps) {
            s.statuses.clear();
            s.feed(step.event.split('\n'));
            QCOMPARE(s.session.people(u"#z"_s), step.people);
            if (!step.said.isEmpty())
                QCOMPARE(s.statuses, QStringList{step.said});
        }
    }

    // A channel's modes, asked for on joining and followed: where a mode
    // that strips or refuses colour is set (and the server has it), lines go
    // without their formatting codes. Chat waits for the modes (or, from a
    // server that does not answer, 5 s), so lines queued before the JOIN or
    // the 324 are decided by them too.
    void channelModes_data() {
        QTest::addColumn<QList<QByteArray>>("support");
        QTest::addColumn<QList<QByteArray>>("events");
        QTest::addColumn<QByteArray>("modes");
        QTest::addColumn<QList<QByteArray>>("sent"); // before the JOIN, the 324, after
        const QList<QByteArray> withC = {
            ":srv 005 zorvel CHANMODES=beI,k,l,cimnpstS :are supported"};
        const QByteArray colour = "PRIVMSG #z :\x02"
                                  "b\x02 \x03"
                                  "04red";
        const QByteArray plain = "PRIVMSG #z :b red";
        QTest::newRow("no colour modes") << withC << QList<QByteArray>{":srv 324 zorvel #z +nt"}
                                         << QByteArray("+nt") << QList<QByteArray>(3, colour);
        QTest::newRow("no answer to MODE")
            << withC << QList<QByteArray>{} << QByteArray() << QList<QByteArray>(3, colour);
        QTest::newRow("+c from 324") << withC << QList<QByteArray>{":srv 324 zorvel #z +cnt"}
                                     << QByteArray("+cnt") << QList<QByteArray>(3, plain);
        QTest::newRow("+S by MODE, with a key and a limit")
            << withC << QList<QByteArray>{":srv 324 zorvel #z +n", ":op!u@h MODE #z +kSl key 5"}
            << QByteArray("+Skln") << QList<QByteArray>{colour, colour, plain};
        QTest::newRow("+c taken off again")
            << withC << QList<QByteArray>{":srv 324 zorvel #z +c", ":op!u@h MODE #z -c+b x!*@*"}
            << QByteArray() << QList<QByteArray>{plain, plain, colour};
        QTest::newRow("c where the server has no such mode")
            << QList<QByteArray>{} << QList<QByteArray>{":srv 324 zorvel #z +c"} << QByteArray("+c")
            << QList<QByteArray>(3, colour);
    }
    void channelModes() {
        QFETCH(QList<QByteArray>, support);
        QFETCH(QList<QByteArray>, events);
        QFETCH(QByteArray, modes);
        QFETCH(QList<QByteArray>, sent);
        const QByteArray text = "\x02"
                                "b\x02 \x03"
                                "04red";
        Session s;
        s.session.connectionOpened();
        s.feed({":srv 001 zorvel :Welcome"});
        s.feed(support);
        s.session.sendText(u"#z"_s, text);
        s.sent.clear();
        s.feed({":zorvel!zorvel@127.0.0.1 JOIN #z"});
        QCOMPARE(s.sent, QList<QByteArray>{"MODE #z"});
        s.session.sendText(u"#z"_s, text);
        s.feed(events);
        s.now += 5000;
        s.sent += s.session.takeLines();
        QCOMPARE(s.session.channel(u"#z"_s)->modes(), modes);
        s.session.sendText(u"#z"_s, text);
        QCOMPARE(s.sent.mid(1), sent);
    }

    // A CTCP VERSION or PING is answered with a notice to whoever asked,
    // within the automatic replies' limits.
    void ctcpAnswers_data() {
        QTest::addColumn<QList<QByteArray>>("requests");
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::newRow("version") << QList<QByteArray>{":a!b@c PRIVMSG zorvel :\x01VERSION\x01"}
                                 << QList<QByteArray>{"NOTICE a :\x01VERSION chathost\x01"};
        QTest::newRow("ping in lower case, unclosed")
            << QList<QByteArray>{":a!b@c PRIVMSG zorvel :\x01ping 42 x"}
            << QList<QByteArray>{"NOTICE a :\x01PING 42 x\x01"};
        QTest::newRow("one per asker in 10 s")
            << QList<QByteArray>{":a!b@c PRIVMSG zorvel :\x01PING 1\x01",
                                 ":A!b@c PRIVMSG zorvel :\x01VERSION\x01",
                                 ":d!b@c PRIVMSG zorvel :\x01PING 2\x01"}
            << QList<QByteArray>{"NOTICE a :\x01PING 1\x01", "NOTICE d :\x01PING 2\x01"};
    }
    void ctcpAnswers() {
        QFETCH(QList<QByteArray>, requests);
        QFETCH(QList<QByteArray>, answers);
        Session s;
        QSignalSpy spy(&s.session, &IrcSession::message);
        s.joined();
        s.feed(requests);
        QCOMPARE(s.sent, answers);
        QCOMPARE(spy.size(), 0);
    }

    // What is said, and where: a channel of ours (also to its operators
    // only), privately (empty room), or to none of our rooms (a status line).
    void speechKinds_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("room");
        const QString status = u"(status)"_s;
        QTest::newRow("message") << QByteArray(":a!b@c PRIVMSG #z :\x02hi")
                                 << int(IrcSession::Kind::Message) << "\x02hi" << u"#z"_s;
        QTest::newRow("action") << QByteArray(":a!b@c PRIVMSG #z :\x01"
                                              "ACTION waves\x01")
                                << int(IrcSession::Kind::Action) << "waves" << u"#z"_s;
        QTest::newRow("notice") << QByteArray(":a!b@c NOTICE #z :note")
                                << int(IrcSession::Kind::Notice) << "note" << u"#z"_s;
        QTest::newRow("Latin-1") << QByteArray(":a!b@c PRIVMSG #z :caf\xe9")
                                 << int(IrcSession::Kind::Message) << "café" << u"#z"_s;
        QTest::newRow("to the channel's operators")
            << QByteArray(":a!b@c PRIVMSG @#Z :ops") << int(IrcSession::Kind::Message) << "ops"
            << u"#z"_s;
        QTest::newRow("private") << QByteArray(":a!b@c PRIVMSG ZORVEL :psst")
                                 << int(IrcSession::Kind::Message) << "psst" << QString();
        QTest::newRow("private notice") << QByteArray(":a!b@c NOTICE zorvel :psst")
                                        << int(IrcSession::Kind::Notice) << "psst" << QString();
        QTest::newRow("to every user") << QByteArray(":a!b@c NOTICE $* :maintenance")
                                       << int(IrcSession::Kind::Notice) << "maintenance" << status;
        QTest::newRow("another channel") << QByteArray(":a!b@c PRIVMSG #other :hi")
                                         << int(IrcSession::Kind::Message) << "hi" << status;
        QTest::newRow("another's action") << QByteArray(":a!b@c PRIVMSG someone :\x01"
                                                        "ACTION waves\x01")
                                          << int(IrcSession::Kind::Action) << "waves" << status;
    }
    void speechKinds() {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, room);
        Session s;
        QSignalSpy spy(&s.session, &IrcSession::message);
        s.joined();
        s.statuses.clear();
        s.feed({line});
        if (room == u"(status)"_s) {
            QCOMPARE(spy.size(), 0);
            QCOMPARE(s.statuses.size(), 1);
            QVERIFY(s.statuses.first().startsWith(u"a to "_s));
            QVERIFY(s.statuses.first().endsWith(text));
            // Nobody is answered for what was not said to us.
            QVERIFY(s.sent.isEmpty());
            return;
        }
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), room);
        QCOMPARE(spy.at(0).at(1).toString(), u"a"_s);
        QCOMPARE(spy.at(0).at(2).toString(), text);
        QCOMPARE(int(spy.at(0).at(3).value<IrcSession::Kind>()), kind);
    }

    // Lines wait until the channels are joined; a channel that cannot be
    // joined says why and holds back the others' lines no longer.
    void channelThatCannotBeJoined() {
        irc::NetworkConfig c = config();
        c.channels = {u"#z"_s, u"#banned"_s};
        Session s(c);
        s.session.connectionOpened();
        s.feed({":srv 001 zorvel :hi"});
        QCOMPARE(s.sent.last(), QByteArray("JOIN #z,#banned"));
        s.session.sendText(u"#z"_s, "waiting");
        s.feed({":zorvel!zorvel@127.0.0.1 JOIN #z", ":srv 324 zorvel #z +nt"});
        QCOMPARE(s.sent.last(), QByteArray("MODE #z"));
        s.feed({":srv 474 zorvel #banned :Cannot join channel (+b)"});
        QCOMPARE(s.sent.last(), QByteArray("PRIVMSG #z :waiting"));
        QVERIFY(s.statuses.contains(u"#banned: Cannot join channel (+b)"_s));
    }

    // A server's NAMES without end is kept to a bound, said once.
    void namesBounded() {
        Session s;
        s.joined();
        QByteArray names;
        for (qsizetype i = 0; i <= irc::ChannelModel::kMaxPeople; ++i)
            names += " n" + QByteArray::number(i);
        s.feed({":srv 353 zorvel = #z :" + names, ":srv 353 zorvel = #z :more",
                ":srv 366 zorvel #z :End"});
        QCOMPARE(s.session.people(u"#z"_s).size(), irc::ChannelModel::kMaxPeople);
        QCOMPARE(s.statuses.filter(u"the rest are not listed"_s).size(), 1);
    }

    // A line meant for an earlier connection does not reach the next one.
    void staleControlLinesDropped() {
        IrcSession session(config(), {}, [] { return qint64(0); });
        session.ping("old");
        session.connectionOpened();
        QCOMPARE(session.takeLines().value(0), QByteArray("CAP LS 302"));
    }
};

QTEST_MAIN(TestIrcSession)
#include "tst_ircsession.moc"
