#include "chathost/awaylog.h"
#include "chathost/awaystate.h"
#include "chathost/echoprinter.h"
#include "chathost/hostoptions.h"
#include "chathost/transcriptlog.h"
#include "tests/chathostprocess.h"
#include "tests/childprocess.h"
#include "tests/testenv.h"

#include <QtTest>

using chathost::HostOptions;

using namespace Qt::StringLiterals;

class TestHostParts : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void badCommandLine_data();
    void badCommandLine();
    void storePasswordRefused();
    void transcriptRecordsRoundTrip_data();
    void transcriptRecordsRoundTrip();
    void awayRecordsRoundTrip_data();
    void awayRecordsRoundTrip();
    void awayLogStaysBounded();
    void awayPeriods_data();
    void awayPeriods();
    void echoIsPlainText_data();
    void echoIsPlainText();
    void echoOnATerminalIsColoured();
};

void TestHostParts::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("rooms");
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QString>("transcript");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<int>("scrollback");
    QTest::addColumn<int>("stallAfter");

    QTest::newRow("defaults") << QStringList{} << QStringList{u"Lobby"_s} << u"Guest"_s << ""
                              << false << 5000 << -1;
    QTest::newRow("positional count, name and rooms")
        << QStringList{u"3"_s, u"Alice"_s, u"Den"_s, u"Attic"_s}
        << QStringList{u"Den"_s, u"Attic"_s, u"Room 3"_s} << "Alice"
        << "" << false << 5000 << -1;
    QTest::newRow("options") << QStringList{u"--rooms"_s,       u"2"_s,
                                            u"--screen-name"_s, u"Bob"_s,
                                            u"--transcript"_s,  u"/x/t"_s,
                                            u"--echo"_s}
                             << QStringList{u"Lobby"_s, u"Room 2"_s} << u"Bob"_s << "/x/t" << true
                             << 5000 << -1;
    QTest::newRow("named rooms raise the count")
        << QStringList{u"-r"_s, u"A"_s, u"--room"_s, u"B"_s} << QStringList{u"A"_s, u"B"_s}
        << u"Guest"_s << u""_s << false << 5000 << -1;
    // An empty argument names no option: it is the screen name's place here.
    QTest::newRow("an empty argument is positional")
        << QStringList{u"2"_s, u""_s, u"Den"_s} << QStringList{u"Den"_s, u"Room 2"_s} << u"Guest"_s
        << u""_s << false << 5000 << -1;
    QTest::newRow("a tab in a room name becomes a blank")
        << QStringList{u"-r"_s, u"A\tB"_s} << QStringList{u"A B"_s} << u"Guest"_s << "" << false
        << 5000 << -1;
    // Each value goes to its own option, never to the one parsed last.
    QTest::newRow("scrollback alone")
        << QStringList{u"--scrollback"_s, u"100"_s} << QStringList{u"Lobby"_s} << u"Guest"_s << ""
        << false << 100 << -1;
    QTest::newRow("scrollback, stall and transcript")
        << QStringList{u"--transcript"_s,       u"/x/t"_s, u"--scrollback"_s, u"7"_s,
                       u"--test-stall-after"_s, u"3"_s}
        << QStringList{u"Lobby"_s} << u"Guest"_s << "/x/t" << false << 7 << 3;
}

void TestHostParts::commandLine() {
    QFETCH(QStringList, arguments);
    QString error;
    bool help = true;
    const std::optional<HostOptions> options = chathost::parseHostOptions(arguments, &error, &help);
    QVERIFY2(options, qPrintable(error));
    QVERIFY(!help);
    QTEST(options->roomNames, "rooms");
    QTEST(options->screenName, "screenName");
    QTEST(options->transcriptPath, "transcript");
    QTEST(options->echo, "echo");
    QTEST(options->scrollback, "scrollback");
    QTEST(options->stallAfterLines, "stallAfter");
}

void TestHostParts::badCommandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("help");
    QTest::newRow("help") << QStringList{u"--help"_s} << true;
    QTest::newRow("zero rooms") << QStringList{u"0"_s} << false;
    QTest::newRow("too many rooms") << QStringList{u"--rooms"_s, u"21"_s} << false;
    QTest::newRow("count not a number") << QStringList{u"many"_s} << false;
    QTest::newRow("missing value") << QStringList{u"--transcript"_s} << false;
    QTest::newRow("unknown option") << QStringList{u"--loud"_s} << false;
    QTest::newRow("scrollback of none") << QStringList{u"--scrollback"_s, u"0"_s} << false;
    QTest::newRow("scrollback not a number") << QStringList{u"--scrollback"_s, u"lots"_s} << false;
    QTest::newRow("scrollback zero") << QStringList{u"--scrollback"_s, u"0"_s} << false;
    QTest::newRow("stall not a number") << QStringList{u"--test-stall-after"_s, u"x"_s} << false;
    QTest::newRow("stall below zero") << QStringList{u"--test-stall-after"_s, u"-1"_s} << false;
    QTest::newRow("irc without its address") << QStringList{u"--irc"_s} << false;
    QTest::newRow("autoreply below zero") << QStringList{u"--autoreply"_s, u"-1"_s} << false;
    QTest::newRow("autoreply not minutes") << QStringList{u"--autoreply"_s, u"1.5"_s} << false;
}

void TestHostParts::badCommandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, help);
    QString error;
    bool askedHelp = false;
    QVERIFY(!chathost::parseHostOptions(arguments, &error, &askedHelp));
    QCOMPARE(askedHelp, help);
    QCOMPARE(error.isEmpty(), help);
}

// This build keeps no passwords of its own: --store-password is refused at
// once, with its input left unread, and says where a password comes from.
void TestHostParts::storePasswordRefused() {
    TestEnv env;
    QProcess host;
    diesWithTest(host);
    host.start(ChatHostProcess::executable(), {u"--store-password"_s, u"example"_s});
    // Standard input stays open: a chathost reading it would not end.
    QVERIFY(host.waitForFinished(10000));
    QCOMPARE(host.exitCode(), 2);
    QVERIFY(host.readAllStandardError().contains("--password-file"));
}

void TestHostParts::transcriptRecordsRoundTrip_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain") << QByteArray("hello") << QByteArray("hello");
    QTest::newRow("backslash") << QByteArray("a\\b") << QByteArray("a\\\\b");
    QTest::newRow("CR and LF") << QByteArray("a\r\nb") << QByteArray("a\\r\\nb");
    QTest::newRow("backslash before n") << QByteArray("\\n") << QByteArray("\\\\n");
    QTest::newRow("tab and high bytes")
        << QByteArray("\t\xb2\x80\xff") << QByteArray("\t\xb2\x80\xff");
}

void TestHostParts::transcriptRecordsRoundTrip() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, escaped);
    const QByteArray record = chathost::TranscriptLog::record(1700000000123, u"Den"_s, line);
    QCOMPARE(record, "1700000000123\tDen\t" + escaped + "\n");

    const QList<TranscriptRecord> parsed = ChatHostProcess::parseTranscript(record + record);
    QCOMPARE(parsed.size(), 2);
    QCOMPARE(parsed[1].ms, 1700000000123);
    QCOMPARE(parsed[1].room, QStringLiteral("Den"));
    QCOMPARE(parsed[1].bytes, line);
}

// An away record's fields keep any text, and its line stays one line.
void TestHostParts::awayRecordsRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("escaped");
    QTest::newRow("plain") << u"hello"_s << QByteArray("hello");
    QTest::newRow("TAB") << u"a\tb"_s << QByteArray("a\\tb");
    QTest::newRow("CR and LF") << u"a\r\nb"_s << QByteArray("a\\r\\nb");
    QTest::newRow("backslash before t") << u"\\t"_s << QByteArray("\\\\t");
    QTest::newRow("Latin-1 read") << u"caf\u00e9\u00ff"_s << QByteArray("caf\xc3\xa9\xc3\xbf");
    QTest::newRow("4 KB") << QString(4096, u'x') << QByteArray(4096, 'x');
}

void TestHostParts::awayRecordsRoundTrip() {
    QFETCH(QString, text);
    QFETCH(QByteArray, escaped);
    const chathost::AwayRecord record{QDateTime(QDate(2026, 12, 9), QTime(10, 5, 7), Qt::UTC),
                                      u"net\t1"_s,
                                      {},
                                      u"al\nice"_s,
                                      text};
    const QByteArray line = chathost::formatAwayRecord(record);
    QCOMPARE(line, "2026-12-09T10:05:07Z\tnet\\t1\t-\tal\\nice\t" + escaped + '\n');
    QCOMPARE(chathost::parseAwayRecord(line.chopped(1)), record);
}

// At 10,000 records the log keeps the newest 9,000 and says how many went;
// a record a crash cut short is dropped before the next is appended.
void TestHostParts::awayLogStaysBounded() {
    const QTemporaryDir dir;
    const QString folder = dir.filePath(u"state/chathost"_s);
    QString error;
    chathost::AwayLog log(folder);
    const auto record = [](int i) {
        return chathost::AwayRecord{QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC), u"n"_s,
                                    u"#c"_s, u"s"_s, QString::number(i)};
    };
    for (int i = 0; i < chathost::AwayLog::kMaxRecords - 1; ++i)
        QCOMPARE(log.append(record(i), &error), 0);
    QCOMPARE(log.append(record(9999), &error), 1000);
    QCOMPARE(QFile::permissions(log.path()) & 0x0077, QFile::Permissions());
    QCOMPARE(QFile::permissions(folder) & 0x0077, QFile::Permissions());

    QFile file(log.path());
    QVERIFY(file.open(QIODevice::Append));
    file.write("2026-01-01T00:00:00Z\tn\t#c\ts\tcut sh");
    file.close();
    chathost::AwayLog reopened(folder);
    QCOMPARE(reopened.append(record(10000), &error), 0);
    const QList<chathost::AwayRecord> records = reopened.records();
    QCOMPARE(records.size(), 9001);
    QCOMPARE(records.first().text, u"1000"_s);
    QCOMPARE(records.last().text, u"10000"_s);
}

// Away runs from a reason to none; a new reason while away keeps "since".
void TestHostParts::awayPeriods_data() {
    QTest::addColumn<QStringList>("setAways"); // "minute reason", reason empty: back
    QTest::addColumn<QString>("period");       // since-until reason, in minutes
    QTest::newRow("away") << QStringList{u"1 lunch"_s} << u"1- lunch"_s;
    QTest::newRow("new reason keeps since")
        << QStringList{u"1 lunch"_s, u"5 meeting"_s} << u"1- meeting"_s;
    QTest::newRow("back") << QStringList{u"1 lunch"_s, u"9 "_s} << u"1-9 lunch"_s;
    QTest::newRow("back when not away") << QStringList{u"9 "_s} << u"- "_s;
    QTest::newRow("away again") << QStringList{u"1 lunch"_s, u"9 "_s, u"12 bed"_s} << u"12- bed"_s;
}

void TestHostParts::awayPeriods() {
    QFETCH(QStringList, setAways);
    QFETCH(QString, period);
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    chathost::AwayPeriod now;
    for (const QString &step : setAways)
        now = now.next(step.section(u' ', 1), start.addSecs(60 * step.section(u' ', 0, 0).toInt()));
    const auto minute = [&](const QDateTime &time) {
        return time.isValid() ? QString::number(start.secsTo(time) / 60) : QString();
    };
    QCOMPARE(minute(now.since) + u'-' + minute(now.until) + u' ' + now.reason, period);

    // As the state file keeps it, with the replies sent.
    now.noteReply({start, u"net"_s, u"alice"_s});
    now.noteReply({start, u"net"_s, u"bob"_s});
    now.noteReply({start.addSecs(60), u"net"_s, u"Alice"_s});
    const QTemporaryDir dir;
    const chathost::AwayStateFile file(dir.path());
    QString error;
    QVERIFY2(file.save(now, &error), qPrintable(error));
    const chathost::AwayPeriod loaded = file.load();
    QCOMPARE(loaded.since, now.since);
    QCOMPARE(loaded.until, now.until);
    QCOMPARE(loaded.reason, now.reason);
    if (!now.since.isValid())
        return; // never away: nothing more to keep
    QCOMPARE(loaded.replies.size(), 2);
    QCOMPARE(loaded.replies.last().nick, u"Alice"_s);
    QCOMPARE(loaded.replies.last().at, start.addSecs(60));
}

void TestHostParts::echoIsPlainText_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("printed");
    QTest::newRow("tags stripped")
        << "</i></u></b><font face=\"arial narrow\" color=#FF0000>\u00b7<font color=#00FF00>"
           "<b>away</b> <u>now</u>"
        << "[Lobby] Guest: \u00b7away now\n";
    QTest::newRow("entities decoded") << "a &lt;b&gt; &amp; &quot;c&quot;"
                                      << "[Lobby] Guest: a <b> & \"c\"\n";
    QTest::newRow("a link keeps its text") << "<a href=\"http://x\">here</a>"
                                           << "[Lobby] Guest: here\n";
    QTest::newRow("empty colours") << "<font color=#><font color=#>x"
                                   << "[Lobby] Guest: x\n";
}

void TestHostParts::echoIsPlainText() {
    QFETCH(QString, line);
    QFETCH(QString, printed);
    chathost::EchoPrinter printer(stdout, false);
    QCOMPARE(QString::fromUtf8(printer.format(u"Lobby"_s, u"Guest"_s, line)), printed);
}

void TestHostParts::echoOnATerminalIsColoured() {
    chathost::EchoPrinter printer(stdout, true);
    const QByteArray out = printer.format(u"Lobby"_s, u"Guest"_s,
                                          u"<font color=#FF8000>warm<font color=#0000ff>cold"_s);
    QCOMPARE(out,
             QByteArray("[Lobby] Guest: \x1b[38;2;255;128;0mwarm\x1b[38;2;0;0;255mcold\x1b[0m\n"));
}

int main(int argc, char **argv) {
    TestEnv env; // before the application reads the environment
    QApplication app(argc, argv);
    TestHostParts test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_hostparts.moc"
