// The IRC client's parts that need no server: the pacing of the send queue
// and its bound on a clock the test owns, the reconnect delays, the network
// settings (URL, settings file) and the reading of lines.
#include "irc/awayrules.h"
#include "irc/backoff.h"
#include "irc/channelmodel.h"
#include "irc/ircencoder.h"
#include "irc/ircmessage.h"
#include "irc/networkconfig.h"
#include "irc/sendqueue.h"
#include "tests/testenv.h"

#include <QFile>
#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

class TestIrcParts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // 30 lines posted at once: four leave at once, then one per interval of
    // 2 s plus 1 s per 120 bytes, in order, none lost.
    void burstOfThirty_data() {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<qint64>("interval");
        QTest::newRow("short lines") << 40 << qint64(2333);
        QTest::newRow("long lines") << 480 << qint64(6000);
    }
    void burstOfThirty() {
        QFETCH(int, bytes);
        QFETCH(qint64, interval);
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; });
        for (int i = 0; i < 30; ++i)
            queue.push(QByteArray::number(i).rightJustified(bytes - 2, 'x'), QStringLiteral("#c"));
        QList<QPair<qint64, QByteArray>> sent;
        // The owner's loop: send what is ready, sleep as long as it says.
        for (int rounds = 0; rounds < 1000 && !queue.isEmpty(); ++rounds) {
            for (const QByteArray &line : queue.takeReady())
                sent.append({now, line});
            const qint64 wait = queue.msUntilNext();
            if (wait > 0)
                now += wait;
        }
        QCOMPARE(sent.size(), 30);
        for (int i = 0; i < 30; ++i) {
            QVERIFY(sent[i].second.endsWith(QByteArray::number(i)));
            // Line i leaves (i - 3) intervals after the start, the first four at once.
            QCOMPARE(sent[i].first, i < 4 ? 0 : (i - 3) * interval);
        }
    }

    void quietQueueBurstsAgain() {
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; });
        for (int i = 0; i < 6; ++i)
            queue.push("PRIVMSG #c :x");
        QCOMPARE(queue.takeReady().size(), 4);
        now += 60'000; // a quiet minute: the whole burst is back
        for (int i = 0; i < 6; ++i)
            queue.push("PRIVMSG #c :y");
        QCOMPARE(queue.takeReady().size(), 4); // 2 old + 2 new, then the burst is spent
        QCOMPARE(queue.size(), 4);
    }

    void boundDropsTheOldestAndCounts() {
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; }, 5);
        for (int i = 0; i < 4; ++i)
            queue.push("burst", QStringLiteral("#a"));
        queue.takeReady();
        for (int i = 0; i < 7; ++i)
            queue.push("a" + QByteArray::number(i), QStringLiteral("#a"));
        for (int i = 0; i < 2; ++i)
            queue.push("b" + QByteArray::number(i), QStringLiteral("#b"));
        // 9 pushed into 5 places: the 4 oldest went, all of #a's.
        QCOMPARE(queue.takeDropped(), (QList<QPair<QString, int>>{{QStringLiteral("#a"), 4}}));
        QCOMPARE(queue.takeDropped(), (QList<QPair<QString, int>>{}));
        QList<QByteArray> rest;
        for (int rounds = 0; rounds < 100 && !queue.isEmpty(); ++rounds) {
            rest += queue.takeReady();
            now += std::max<qint64>(queue.msUntilNext(), 0);
        }
        QCOMPARE(rest, (QList<QByteArray>{"a4", "a5", "a6", "b0", "b1"}));
    }

    // Automatic replies, each sent as soon as taken: one per sender (and
    // kind) in 10 s, four a minute in all; the rest dropped.
    void autoReplyLimits_data() {
        QTest::addColumn<QStringList>("requests"); // "ms sender"
        QTest::addColumn<QString>("taken");        // y or n per request
        QTest::newRow("one per sender in 10 s")
            << QStringList{u"0 a"_s, u"5000 A"_s, u"9999 a"_s, u"10000 a"_s, u"10001 b"_s}
            << u"ynnyy"_s;
        QTest::newRow("four a minute in all")
            << QStringList{u"0 a"_s,     u"0 b"_s,     u"1 c"_s,     u"2 d"_s,    u"3 e"_s,
                           u"30000 f"_s, u"60000 g"_s, u"60000 h"_s, u"60000 i"_s}
            << u"yyyynnyyn"_s; // at 60 s the two of 0 s have left the minute
        // Away replies: a slot of their own per sender, 30 minutes long.
        QTest::newRow("a CTCP request takes no away slot")
            << QStringList{u"0 a"_s, u"0 a away"_s, u"1 a away"_s, u"2 a"_s} << u"yynn"_s;
        QTest::newRow("one away reply per sender in 30 min")
            << QStringList{u"0 a away"_s, u"0 B away"_s, u"1799999 A away"_s, u"1800000 a away"_s}
            << u"yyny"_s;
        // Held behind the user's lines until 5 s, its 30 minutes count from then.
        QTest::newRow("counted from when it left")
            << QStringList{u"0 chat"_s, u"0 a away"_s, u"5000 b"_s, u"1804999 a away"_s,
                           u"1805000 a away"_s}
            << u"-yyny"_s;
        QTest::newRow("held from an earlier run")
            << QStringList{u"0 a held"_s, u"0 a"_s, u"1799999 a away"_s, u"1800000 a away"_s}
            << u"-yny"_s;
    }
    void autoReplyLimits() {
        QFETCH(QStringList, requests);
        QFETCH(QString, taken);
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; });
        queue.setReplyInterval(irc::SendQueue::AutoReply::Away, 30 * 60'000);
        QString got;
        for (const QString &request : requests) {
            now = request.section(u' ', 0, 0).toLongLong();
            const QByteArray sender = request.section(u' ', 1, 1).toUtf8();
            const QString kindName = request.section(u' ', 2);
            if (sender == "chat") { // six lines: two wait behind the burst
                for (int i = 0; i < 6; ++i)
                    queue.push("PRIVMSG #c :chat");
                got += u'-';
            } else if (kindName == u"held") { // an earlier run's reply left now
                queue.holdSlot(irc::SendQueue::AutoReply::Away, sender, now + 30 * 60'000);
                got += u'-';
            } else {
                const auto kind = kindName == u"away" ? irc::SendQueue::AutoReply::Away
                                                      : irc::SendQueue::AutoReply::Ctcp;
                got += queue.pushAutoReply(kind, sender, "NOTICE " + sender) ? u'y' : u'n';
            }
            queue.takeReady();
        }
        QCOMPARE(got, taken);
    }

    // Replies wait behind every chat line and never push one out; the chat
    // lines leave exactly as they would alone.
    void autoRepliesWaitBehindChat() {
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; }, 8);
        irc::SendQueue alone([&] { return now; }, 8);
        for (int i = 0; i < 8; ++i) {
            queue.push("chat" + QByteArray::number(i));
            alone.push("chat" + QByteArray::number(i));
        }
        for (const char *sender : {"a", "b", "c", "d", "e"})
            queue.pushAutoReply(irc::SendQueue::AutoReply::Ctcp, sender,
                                "reply " + QByteArray(sender));
        QCOMPARE(queue.repliesWaiting(), 4);
        QList<QPair<qint64, QByteArray>> sent, sentAlone;
        for (int rounds = 0; rounds < 100 && (!queue.isEmpty() || queue.repliesWaiting());
             ++rounds) {
            for (const QByteArray &line : queue.takeReady())
                sent.append({now, line});
            for (const QByteArray &line : alone.takeReady())
                sentAlone.append({now, line});
            now += std::max<qint64>(queue.msUntilNext(), 0);
        }
        QCOMPARE(queue.takeDropped(), (QList<QPair<QString, int>>{}));
        QCOMPARE(sent.mid(0, 8), sentAlone);
        QCOMPARE(sent.size(), 12);
        QVERIFY(sent.at(8).second.startsWith("reply"));
    }

    // Replies use none of the burst: after four of them the user's next four
    // lines still leave at once.
    void autoRepliesTakeNoShareOfTheBurst() {
        qint64 now = 0;
        irc::SendQueue queue([&] { return now; });
        for (const char *sender : {"a", "b", "c", "d"})
            queue.pushAutoReply(irc::SendQueue::AutoReply::Ctcp, sender, "reply");
        QCOMPARE(queue.takeReady().size(), irc::SendQueue::kRepliesPerWindow);
        for (int i = 0; i < irc::SendQueue::kBurst; ++i)
            queue.push("chat");
        QCOMPARE(queue.takeReady().size(), irc::SendQueue::kBurst);
    }

    // A nick is named as a word, bounded by the text's ends or a character
    // no nick has, its case folded as the server's CASEMAPPING says.
    void mentions_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("isupport"); // the server's 005 token
        QTest::addColumn<bool>("named");
        QTest::newRow("alone") << QByteArray("zor[v]") << QByteArray() << true;
        QTest::newRow("start, comma") << QByteArray("zor[v], hi") << QByteArray() << true;
        QTest::newRow("end, in bold") << QByteArray("hi \x02zor[v]\x02") << QByteArray() << true;
        QTest::newRow("after UTF-8") << QByteArray("\xc3\xa9zor[v]!") << QByteArray() << true;
        QTest::newRow("in a longer word") << QByteArray("zor[v]ish") << QByteArray() << false;
        QTest::newRow("after a nick char") << QByteArray("_zor[v]") << QByteArray() << false;
        QTest::newRow("folded by rfc1459") << QByteArray("ZOR{V}") << QByteArray() << true;
        QTest::newRow("not by ascii")
            << QByteArray("ZOR{V}") << QByteArray("CASEMAPPING=ascii") << false;
        QTest::newRow("ascii still folds letters")
            << QByteArray("ZOR[V]") << QByteArray("CASEMAPPING=ascii") << true;
        QTest::newRow("second place counts")
            << QByteArray("zor[v]x zor[v]") << QByteArray() << true;
    }
    void mentions() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, isupport);
        QFETCH(bool, named);
        irc::ServerSupport support;
        support.read(irc::parseMessage(":s 005 me " + isupport + " :are supported"));
        QCOMPARE(irc::mentionsNick(text, "zor[v]", support.caseMapping), named);
    }

    // Who gets the away reply: a person, not us, not a service.
    void awayReplyGoesTo_data() {
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<bool>("replied");
        QTest::newRow("a person") << QByteArray("alice!a@host") << true;
        QTest::newRow("a server") << QByteArray("irc.example.org") << false;
        QTest::newRow("a bare nick") << QByteArray("alice") << false;
        QTest::newRow("us") << QByteArray("Me!m@host") << false;
        QTest::newRow("a service") << QByteArray("nickserv!s@services") << false;
    }
    void awayReplyGoesTo() {
        QFETCH(QByteArray, prefix);
        QFETCH(bool, replied);
        QCOMPARE(irc::repliesTo(prefix, "me", irc::defaultServices(), irc::CaseMapping::Rfc1459),
                 replied);
        QCOMPARE(irc::awayReplyText(u"me"_s, u"lunch"_s, 3'725'000),
                 QByteArray("me is away: lunch (away for 1:02)"));
    }

    // Every line sent is built by one encoder: the trailing ':' where asked,
    // line breaks as blanks, a parameter that cannot be a middle one refused.
    void encodedLines_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QList<QByteArray>>("middle");
        QTest::addColumn<QByteArray>("trailing"); // "-": none
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("no trailing") << QByteArray("CAP") << QList<QByteArray>{"LS", "302"}
                                     << QByteArray("-") << QByteArray("CAP LS 302");
        QTest::newRow("empty trailing") << QByteArray("PRIVMSG") << QList<QByteArray>{"#c"}
                                        << QByteArray("") << QByteArray("PRIVMSG #c :");
        QTest::newRow("breaks in the trailing")
            << QByteArray("QUIT") << QList<QByteArray>{} << QByteArray("a\r\nJOIN #x\0", 11)
            << QByteArray("QUIT :a  JOIN #x ");
        QTest::newRow("blank in a middle")
            << QByteArray("NICK") << QList<QByteArray>{"a b"} << QByteArray("-") << QByteArray();
        QTest::newRow("colon first in a middle")
            << QByteArray("NICK") << QList<QByteArray>{":a"} << QByteArray("-") << QByteArray();
        QTest::newRow("break in a middle") << QByteArray("NICK") << QList<QByteArray>{"a\nQUIT"}
                                           << QByteArray("-") << QByteArray();
    }
    void encodedLines() {
        QFETCH(QByteArray, command);
        QFETCH(QList<QByteArray>, middle);
        QFETCH(QByteArray, trailing);
        QFETCH(QByteArray, line);
        QCOMPARE(irc::encodeLine(command, middle,
                                 trailing == "-" ? std::nullopt : std::optional(trailing)),
                 line);
    }

    void backoffDelays_data() {
        QTest::addColumn<double>("random");
        QTest::addColumn<QList<qint64>>("delays");
        QTest::newRow("middle of the spread")
            << 0.5
            << QList<qint64>{2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 300000, 300000};
        QTest::newRow("low end") << 0.0 << QList<qint64>{1800,  3600,   7200,   14400,  28800,
                                                         57600, 115200, 230400, 270000, 270000};
        QTest::newRow("high end, capped")
            << 0.999999
            << QList<qint64>{2199, 4399, 8799, 17599, 35199, 70399, 140799, 281599, 300000, 300000};
    }
    void backoffDelays() {
        QFETCH(double, random);
        QFETCH(QList<qint64>, delays);
        irc::Backoff backoff([&] { return random; });
        QList<qint64> got;
        for (int i = 0; i < delays.size(); ++i)
            got.append(backoff.nextDelayMs());
        QCOMPARE(got, delays);
        backoff.connectionEnded(59'000); // not a minute: still backing off
        QCOMPARE(backoff.nextDelayMs(), delays.last());
        backoff.connectionEnded(60'000); // a minute stable: from the start
        QCOMPARE(backoff.nextDelayMs(), delays.first());
    }

    void urls_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("host"); // empty: refused
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("tls");
        QTest::addColumn<QStringList>("channels");
        QTest::newRow("TLS default port")
            << "ircs://irc.example.org/#zorvel" << u"irc.example.org"_s << 6697 << true
            << QStringList{u"#zorvel"_s};
        QTest::newRow("port and two channels")
            << "ircs://h:7000/#a,#b" << u"h"_s << 7000 << true << QStringList{u"#a"_s, u"#b"_s};
        QTest::newRow("channel without #")
            << "ircs://h/zorvel" << u"h"_s << 6697 << true << QStringList{u"#zorvel"_s};
        QTest::newRow("plain") << "irc://127.0.0.1/#c" << u"127.0.0.1"_s << 6667 << false
                               << QStringList{u"#c"_s};
        QTest::newRow("IPv6") << "ircs://[::1]:6697/#c" << u"::1"_s << 6697 << true
                              << QStringList{u"#c"_s};
        QTest::newRow("no channel") << "ircs://h/"
                                    << "" << 0 << true << QStringList{};
        QTest::newRow("bad port") << "ircs://h:99999/#c"
                                  << "" << 0 << true << QStringList{};
        QTest::newRow("not IRC") << "https://h/#c"
                                 << "" << 0 << true << QStringList{};
    }
    void urls() {
        QFETCH(QString, url);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(bool, tls);
        QFETCH(QStringList, channels);
        QString error;
        const auto config = irc::parseIrcUrl(url, &error);
        QCOMPARE(config.has_value(), !host.isEmpty());
        if (!config) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QCOMPARE(config->host, host);
        QCOMPARE(int(config->port), port);
        QCOMPARE(config->tls, tls);
        QCOMPARE(config->channels, channels);
    }

    void settingsFile() {
        TestEnv env;
        const QString path = irc::networksFilePath();
        QCOMPARE(path, env.configDir() + u"/chathost/networks.ini"_s);
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.beginGroup("home");
            settings.setValue("host", u"irc.example.org"_s);
            settings.setValue("nick", u"zorvel"_s);
            settings.setValue("channels", u"#one, two"_s);
            settings.setValue("sasluser", u"acct"_s);
            settings.setValue("hexcolours", true);
            settings.setValue("autoreply", 10);
            settings.setValue("services", u"Bot1, Bot2"_s);
            settings.endGroup();
            settings.beginGroup("plain");
            settings.setValue("host", u"h"_s);
            settings.setValue("tls", false);
            settings.setValue("channels", u"#c"_s);
        }
        QString error;
        auto home = irc::loadNetwork(path, u"home"_s, &error);
        QVERIFY2(home, qPrintable(error));
        QCOMPARE(home->port, quint16(6697));
        QVERIFY(home->tls && home->hexColours);
        QCOMPARE(home->channels, (QStringList{u"#one"_s, u"#two"_s}));
        QCOMPARE(home->saslUser, QStringLiteral("acct"));
        QCOMPARE(home->autoReplyMinutes, 10);
        QCOMPARE(home->services, (QStringList{u"Bot1"_s, u"Bot2"_s}));
        QVERIFY(irc::completeNetwork(*home, &error));
        QCOMPARE(home->userName, QStringLiteral("zorvel"));
        auto plain = irc::loadNetwork(path, u"plain"_s, &error);
        QVERIFY(plain && !plain->tls && plain->port == 6667);
        QCOMPARE(plain->autoReplyMinutes, 30);
        QCOMPARE(plain->services, irc::defaultServices());
        QVERIFY(!irc::completeNetwork(*plain, &error)); // no nick
        QVERIFY(error.contains(u"nick"_s));
        QVERIFY(!irc::loadNetwork(path, u"absent"_s, &error));
        QVERIFY(error.contains(u"absent"_s));
    }

    // Paths in the settings file as people write them, Windows' backslashes too.
    void settingsFilePaths_data() {
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("path");
        QTest::newRow("backslashes")
            << QByteArray(R"(C:\Users\me\ca.pem)") << uR"(C:\Users\me\ca.pem)"_s;
        QTest::newRow("in quotes")
            << QByteArray(R"("C:\Users\me\ca.pem")") << uR"(C:\Users\me\ca.pem)"_s;
        QTest::newRow("doubled, as QSettings writes them")
            << QByteArray(R"(C:\\Users\\me\\ca.pem)") << uR"(C:\Users\me\ca.pem)"_s;
        QTest::newRow("a network share")
            << QByteArray(R"(\\server\share\ca.pem)") << uR"(\\server\share\ca.pem)"_s;
        QTest::newRow("forward slashes") << QByteArray("/home/me/ca.pem") << u"/home/me/ca.pem"_s;
    }
    void settingsFilePaths() {
        QFETCH(QByteArray, written);
        QFETCH(QString, path);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"networks.ini"_s);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[other]\ncafile=/not/this\n[home]\nhost=h\nCAFile = " + written +
                  "\npasswordfile=" + written + "\n");
        out.close();
        QString error;
        const auto config = irc::loadNetwork(file, u"home"_s, &error);
        QVERIFY2(config, qPrintable(error));
        QCOMPARE(config->caFile, path);
        QCOMPARE(config->passwordFile, path);
    }

    void messages_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QList<QByteArray>>("params");
        QTest::newRow("privmsg") << QByteArray(":a!b@c PRIVMSG #z :hi there") << QByteArray("a!b@c")
                                 << QByteArray("PRIVMSG") << QList<QByteArray>{"#z", "hi there"};
        QTest::newRow("ping") << QByteArray("PING :x y") << QByteArray() << QByteArray("PING")
                              << QList<QByteArray>{"x y"};
        QTest::newRow("tags, numeric")
            << QByteArray("@t=1 :srv 353 me = #z :@a +b c") << QByteArray("srv")
            << QByteArray("353") << QList<QByteArray>{"me", "=", "#z", "@a +b c"};
        QTest::newRow("lower case, no trailing") << QByteArray("nick  new") << QByteArray()
                                                 << QByteArray("NICK") << QList<QByteArray>{"new"};
    }
    void messages() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, prefix);
        QFETCH(QByteArray, command);
        QFETCH(QList<QByteArray>, params);
        const irc::IrcMessage message = irc::parseMessage(line);
        QCOMPARE(message.prefix, prefix);
        QCOMPARE(message.command, command);
        QCOMPARE(message.params, params);
    }
};

QTEST_MAIN(TestIrcParts)
#include "tst_ircparts.moc"
