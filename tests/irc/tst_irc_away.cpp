// What is said to the user while away, on a real ngircd with a bare client
// as the other person: kept in the away log, answered once, shown when back,
// kept across a crash of chathost. ZORVEL_AWAY_EVIDENCE=FOLDER also saves a
// picture of the window, a record's bytes and the reply exchange there.
#include "chathost/awaylog.h"
#include "chathost/awaystate.h"
#include "chathost/awaysummary.h"
#include "hostlink/chatlink.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/irc/hostsocketworld.h"
#include "tests/irc/ircobserver.h"
#include "tests/irc/ngircdserver.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kChannel = "#zorvel";
const QByteArray kReplyTo = " NOTICE other :zorvel is away: ";

qsizetype countContaining(const QList<IrcObserver::Line> &lines, const QByteArray &part) {
    return std::count_if(lines.cbegin(), lines.cend(),
                         [&](const IrcObserver::Line &line) { return line.text.contains(part); });
}

} // namespace

class TestIrcAway : public QObject {
    Q_OBJECT
    std::unique_ptr<HostSocketWorld> m_world;

    struct Channel {
        NgircdServer server;
        IrcObserver other;
        std::unique_ptr<ChatHostProcess> host;
    };
    bool join(Channel &channel) {
        if (!channel.server.start() ||
            !channel.other.join(channel.server.port(), "other", kChannel))
            return false;
        channel.host = std::make_unique<ChatHostProcess>(QStringList{
            u"--irc"_s, QStringLiteral("irc://127.0.0.1:%1/#zorvel").arg(channel.server.port()),
            u"--insecure"_s, u"--nick"_s, u"zorvel"_s, u"--echo"_s});
        return startHost(channel);
    }
    bool startHost(Channel &channel) {
        const qsizetype from = channel.other.lines().size();
        if (!channel.host->start()) {
            qWarning() << channel.host->output();
            return false;
        }
        return channel.other.waitFor(":zorvel!", from) >= 0;
    }
    QString folder() const { return m_world->env.stateDir() + u"/chathost"_s; }
    QString logPath() const { return folder() + u"/away.log"_s; }
    QList<chathost::AwayRecord> logged() const { return chathost::AwayLog(folder()).records(); }
    bool loggedCount(qsizetype count) {
        return waitFor([&] { return logged().size() >= count; }, 10000) && logged().size() == count;
    }
    // The summary window's text, as a client reads it; empty while there is none.
    QString summaryText() {
        m_world->ws.beginExchange();
        const platform::WindowHandle window =
            m_world->ws.findWindow(chathost::AwaySummary::kWindowClass);
        if (!window)
            return {};
        const auto text = m_world->ws.windowText(m_world->ws.findWindowEx(window, 0, "RICHCNTL"));
        QString shown =
            platform::fromCp1252(m_world->ws.windowText(window).value_or(QByteArray())) + u'\n' +
            platform::fromCp1252(text.value_or(QByteArray()));
        return shown.replace(QChar::Nbsp, u' ');
    }
    QString waitForSummary() {
        QString text;
        waitFor([&] { return !(text = summaryText()).isEmpty(); }, 10000);
        return text;
    }
    // Escape closes the window, as a person would.
    void closeSummary() {
        m_world->ws.beginExchange();
        m_world->ws.sendChar(m_world->ws.findWindow(chathost::AwaySummary::kWindowClass), 27);
    }
    static QString evidenceDir() { return qEnvironmentVariable("ZORVEL_AWAY_EVIDENCE"); }

private Q_SLOTS:
    void initTestCase() {
        if (NgircdServer::executable().isEmpty())
            QSKIP("ngircd is not installed here: scripts/setup-irc.sh unpacks Debian's package "
                  "into build/ngircd");
    }
    void init() { m_world = std::make_unique<HostSocketWorld>(); }
    void cleanup() { m_world.reset(); }

    // Three private messages, a CTCP request and a notice, and two channel
    // lines, one naming the user and one only holding the nick in a word:
    // one away reply (beside the CTCP answer), four records, shown when back.
    void keptAnsweredAndShown() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &other = channel.other;
        hostlink::setAway(true, u"gone fishing"_s);
        const qsizetype from = other.lines().size();
        const QList<QByteArray> said{"PRIVMSG zorvel :\x01VERSION\x01",
                                     "PRIVMSG zorvel :are you there?",
                                     "NOTICE zorvel :a notice gets no reply",
                                     "PRIVMSG zorvel :hello again",
                                     "PRIVMSG #zorvel :ask Zorvel, he knows",
                                     "PRIVMSG #zorvel :zorvelish is a word of its own",
                                     "PRIVMSG zorvel :third and last"};
        for (const QByteArray &line : said)
            other.sendLine(line);
        QVERIFY(loggedCount(4));
        QVERIFY(other.waitFor(kReplyTo, from) >= 0);
        QVERIFY(other.waitFor(" NOTICE other :\x01VERSION", from) >= 0);
        // Replies leave in turn: once a later sender's CTCP answer is here, a
        // second away reply would be too.
        IrcObserver marker;
        QVERIFY(marker.join(channel.server.port(), "marker", kChannel));
        marker.sendLine("PRIVMSG zorvel :\x01VERSION\x01");
        QVERIFY(marker.waitFor(" NOTICE marker :\x01VERSION") >= 0);
        const QList<IrcObserver::Line> exchange = other.lines().mid(from);
        QCOMPARE(countContaining(exchange, kReplyTo), 1);
        QCOMPARE(countContaining(exchange, "gone fishing (away for 0:00)"), 1);

        const QList<chathost::AwayRecord> records = logged();
        QStringList where;
        for (const chathost::AwayRecord &record : records)
            where << record.channel + u'/' + record.sender + u'/' + record.text;
        QCOMPARE(where, (QStringList{u"/other/are you there?"_s, u"/other/hello again"_s,
                                     u"#zorvel/other/ask Zorvel, he knows"_s,
                                     u"/other/third and last"_s}));

        hostlink::setAway(false);
        const QString shown = waitForSummary();
        QVERIFY2(shown.startsWith(u"While you were away\n"_s), qPrintable(shown));
        QVERIFY2(shown.contains(u"4 line(s) kept: other (private, 127.0.0.1): 3, #zorvel "
                                u"(127.0.0.1): 1"_s),
                 qPrintable(shown));
        for (const QString &line : {u"other: are you there?"_s, u"other: hello again"_s,
                                    u"other: ask Zorvel, he knows"_s, u"other: third and last"_s})
            QVERIFY2(shown.contains(line), qPrintable(line));
        QVERIFY(!shown.contains(u"zorvelish"_s));
        QVERIFY(waitFor(
            [&] {
                return channel.host->output().contains(
                    u"while you were away, 1 line(s) here named you"_s);
            },
            5000));

        if (!evidenceDir().isEmpty()) {
            QDir().mkpath(evidenceDir());
            chathost::AwaySummary copy;
            copy.setRecords(chathost::AwayStateFile(folder()).load(), records, {});
            copy.grab().save(evidenceDir() + u"/while-you-were-away.png"_s);
            QFile::copy(logPath(), evidenceDir() + u"/away.log"_s);
            QFile raw(evidenceDir() + u"/exchange.txt"_s);
            QVERIFY(raw.open(QIODevice::WriteOnly));
            for (const QByteArray &line : said)
                raw.write("> " + line + '\n');
            for (const IrcObserver::Line &line : exchange)
                raw.write("< " + line.text + '\n');
        }

        // Closed, the log becomes away.log.1, and the next period starts anew.
        closeSummary();
        QVERIFY(waitFor([&] { return QFile::exists(logPath() + u".1"_s); }, 5000));
        QVERIFY(!QFile::exists(logPath()));
        QCOMPARE(QFile::permissions(logPath() + u".1"_s),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        QCOMPARE(QFile::permissions(folder()), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadUser |
                                                   QFile::WriteUser | QFile::ExeUser);
    }

    // Killed while away after two records and started again: still away with
    // its reason, the third line kept but not answered again within the
    // sender's 30 minutes, back shows all three, and again after a crash.
    void awayOutlivesACrash() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &other = channel.other;
        hostlink::setAway(true, u"back soon"_s);
        QVERIFY(waitFor([&] { return QFile::exists(folder() + u"/away.state"_s); }, 5000));
        const qsizetype before = other.lines().size();
        other.sendLine("PRIVMSG zorvel :first");
        other.sendLine("PRIVMSG #zorvel :zorvel, second");
        QVERIFY(loggedCount(2));
        QVERIFY(other.waitFor(kReplyTo + "back soon (away for 0:0", before) >= 0);
        const qsizetype killedAt = other.lines().size();
        channel.host->kill();
        // Started again once the server knows the nick is free.
        QVERIFY(other.waitFor(":zorvel!~zorvel@127.0.0.1 QUIT", killedAt) >= 0);
        QVERIFY(startHost(channel));

        // Away again once registered, set as the channel is joined.
        qsizetype from = other.lines().size();
        QVERIFY(waitFor(
            [&] {
                other.sendLine("WHOIS zorvel");
                return other.waitFor(" 301 other zorvel :back soon", from, 500) >= 0;
            },
            10000));
        from = other.lines().size();
        other.sendLine("PRIVMSG zorvel :third, after the crash");
        // Replies leave in turn: once the CTCP answer is here, an away reply
        // to the line before it would be too.
        other.sendLine("PRIVMSG zorvel :\x01VERSION\x01");
        QVERIFY(loggedCount(3));
        QVERIFY(other.waitFor(" NOTICE other :\x01VERSION", from) >= 0);
        QCOMPARE(other.waitFor(kReplyTo, from, 0), -1);

        hostlink::setAway(false);
        const QString shown = waitForSummary();
        for (const QString &line :
             {u"other: first"_s, u"other: zorvel, second"_s, u"other: third, after"_s})
            QVERIFY2(shown.contains(line), qPrintable(shown));

        // Killed again before the window was closed: the next start shows it again.
        channel.host->kill();
        QVERIFY(channel.host->start());
        QVERIFY(waitForSummary().contains(u"3 line(s) kept"_s));
    }

    // Text built to break a record: a TAB, backslashes, bytes that are not
    // UTF-8, a line as long as the server takes. One record each, shown.
    void hostileTextStaysOneRecord() {
        Channel channel;
        QVERIFY(join(channel));
        IrcObserver &other = channel.other;
        hostlink::setAway(true, u"away"_s);
        const QByteArray longText = QByteArray(400, 'x') + "end";
        other.sendLine("PRIVMSG zorvel :tab\there");
        other.sendLine("PRIVMSG zorvel :\\t is no tab, \\\\n no line");
        other.sendLine("PRIVMSG zorvel :caf\xe9 \xff\xfe");
        other.sendLine("PRIVMSG zorvel :" + longText);
        QVERIFY(loggedCount(4));
        QFile file(logPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 5); // four records and nothing after the last LF
        for (const QByteArray &line : lines.first(4))
            QCOMPARE(line.count('\t'), 4);
        QVERIFY(lines[0].endsWith("\ttab\\there"));
        QVERIFY(lines[1].endsWith("\t\\\\t is no tab, \\\\\\\\n no line"));
        QVERIFY(lines[2].endsWith("\tcaf\xc3\xa9 \xc3\xbf\xc3\xbe")); // read as Latin-1
        QCOMPARE(logged().at(0).text, u"tab\there"_s);
        if (!evidenceDir().isEmpty())
            QFile::copy(logPath(), evidenceDir() + u"/hostile-away.log"_s);

        hostlink::setAway(false);
        const QString shown = waitForSummary();
        QVERIFY2(shown.contains(u"other: tab"_s), qPrintable(shown));
        QVERIFY(shown.contains(u"\\t is no tab, \\\\n no line"_s));
        QVERIFY(shown.contains(u"caf\u00e9"_s));
        QVERIFY(shown.contains(QString::fromLatin1(longText)));
    }
};

QTEST_MAIN(TestIrcAway)
#include "tst_irc_away.moc"
