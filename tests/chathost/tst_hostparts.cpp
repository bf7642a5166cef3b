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
