#include "chathostprocess.h"
#include "chatlink.h"
#include "testenv.h"
#include "windowsystem_unix.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>
#include <QtTest>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wire = platform::chatwire;

namespace {

// A posting exchange may wait 250 ms for chathost; anything under this is
// "within the bound" even on a loaded machine.
constexpr qint64 kBoundWithMarginMs = 600;

// Posts the line and returns how long ChatSend took.
qint64 timedChatSend(const QByteArray &line1252) {
    QElapsedTimer timer;
    timer.start();
    hostlink::ChatSend(hostlink::fromWindows1252(line1252));
    return timer.elapsed();
}

QList<QByteArray> recordBytes(const QList<TranscriptRecord> &records) {
    QList<QByteArray> bytes;
    for (const TranscriptRecord &record : records)
        bytes.append(record.bytes);
    return bytes;
}

QByteArray framed(const QByteArray &payload) { return wire::frame(payload); }

QByteArray u64(quint64 value) {
    QByteArray out;
    wire::putU64(out, value);
    return out;
}

} // namespace

class TestChatHostLink : public QObject {
    Q_OBJECT

private slots:
    void everyWindows1252ByteArrivesInOrder();
    void typedTextIsReplaced();
    void bringingAnotherRoomToTheFrontMovesTheNextLine();
    void linesWhileChathostIsGoneAreLostSilently();
    void missingChathostCostsLittle();
    void hungServerCostsAtMostTheBoundPerLine();
    void socketIsOwnerOnly();
    void badRequestClosesOnlyItsConnection_data();
    void badRequestClosesOnlyItsConnection();
    void anotherUsersConnectionIsDropped();
    void secondChathostRefusesToStart();
};

void TestChatHostLink::everyWindows1252ByteArrivesInOrder() {
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    // Every byte the code page defines, except NUL, CR and LF.
    QByteArray alphabet;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n' && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            alphabet.append(char(b));
    }
    QCOMPARE(alphabet.size(), 248);

    QList<QByteArray> lines;
    QSet<char> covered;
    for (int i = 0; i < 200; ++i) {
        QByteArray line = QByteArray::number(i) + ": ";
        for (int j = 0; j < 12; ++j)
            line.append(alphabet.at((i * 5 + j) % alphabet.size()));
        for (const char c : line)
            covered.insert(c);
        lines.append(line);
    }
    QCOMPARE(covered.size(), alphabet.size());

    for (const QByteArray &line : lines)
        timedChatSend(line);

    const QList<TranscriptRecord> records = host.waitForRecords(lines.size());
    QCOMPARE(recordBytes(records), lines);
    for (qsizetype i = 0; i < records.size(); ++i) {
        QCOMPARE(records[i].room, QStringLiteral("Lobby"));
        if (i > 0)
            QVERIFY(records[i].ms >= records[i - 1].ms);
    }
}

void TestChatHostLink::typedTextIsReplaced() {
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    QVERIFY(host.typeIntoEntry("Lobby", "half a sente"));
    QCOMPARE(host.entryText("Lobby"), QStringLiteral("half a sente"));

    timedChatSend("<b>back soon</b>");

    QCOMPARE(recordBytes(host.waitForRecords(1)), QList<QByteArray>{"<b>back soon</b>"});
    QCOMPARE(host.entryText("Lobby"), QString());
}

void TestChatHostLink::bringingAnotherRoomToTheFrontMovesTheNextLine() {
    TestEnv env;
    ChatHostProcess host({"--room", "Lobby", "--room", "Den"});
    QVERIFY2(host.start(), qPrintable(host.output()));
    QCOMPARE(host.documentsFrontToBack(), (QStringList{"Welcome", "Lobby", "Den"}));

    timedChatSend("one");
    QVERIFY(host.bringToFront("Den"));
    QCOMPARE(host.documentsFrontToBack().first(), QStringLiteral("Den"));
    timedChatSend("two");
    QVERIFY(host.bringToFront("Lobby"));
    timedChatSend("three");

    const QList<TranscriptRecord> records = host.waitForRecords(3);
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].room, QStringLiteral("Lobby"));
    QCOMPARE(records[1].room, QStringLiteral("Den"));
    QCOMPARE(records[2].room, QStringLiteral("Lobby"));
    QCOMPARE(recordBytes(records), (QList<QByteArray>{"one", "two", "three"}));
}

void TestChatHostLink::linesWhileChathostIsGoneAreLostSilently() {
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    for (int i = 0; i < 3; ++i)
        QVERIFY(timedChatSend("before " + QByteArray::number(i)) < kBoundWithMarginMs);
    QCOMPARE(host.waitForRecords(3).size(), 3);

    host.kill();
    for (int i = 0; i < 3; ++i)
        QVERIFY(timedChatSend("lost " + QByteArray::number(i)) < kBoundWithMarginMs);

    // The dead one's socket file and lock are still there: they must not matter.
    QVERIFY(QFile::exists(host.socketPath()));
    QVERIFY2(host.start(), qPrintable(host.output()));
    for (int i = 0; i < 3; ++i)
        QVERIFY(timedChatSend("after " + QByteArray::number(i)) < kBoundWithMarginMs);

    QCOMPARE(
        recordBytes(host.waitForRecords(6)),
        (QList<QByteArray>{"before 0", "before 1", "before 2", "after 0", "after 1", "after 2"}));
}

void TestChatHostLink::missingChathostCostsLittle() {
    TestEnv env;
    QVERIFY(!QFile::exists(wire::socketPath()));
    for (int i = 0; i < 5; ++i)
        QVERIFY(timedChatSend("nobody hears this") < kBoundWithMarginMs);
}

void TestChatHostLink::hungServerCostsAtMostTheBoundPerLine() {
    TestEnv env;
    // Connections complete in the listen queue, but nothing ever answers.
    QLocalServer hung;
    QVERIFY(hung.listen(wire::socketPath()));

    QElapsedTimer total;
    total.start();
    for (int i = 0; i < 8; ++i) {
        const qint64 ms = timedChatSend("into the void");
        QVERIFY2(ms < kBoundWithMarginMs, qPrintable(QString::number(ms)));
    }
    QVERIFY(total.elapsed() < 8 * kBoundWithMarginMs);

    // Each line did reach the server: it was waited on, not skipped.
    QVERIFY(hung.waitForNewConnection(1000));
    int connections = 0;
    while (QLocalSocket *socket = hung.nextPendingConnection()) {
        ++connections;
        delete socket;
        hung.waitForNewConnection(50);
    }
    QCOMPARE(connections, 8);
}

void TestChatHostLink::socketIsOwnerOnly() {
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    struct stat status {};
    QCOMPARE(::stat(QFile::encodeName(host.socketPath()).constData(), &status), 0);
    QVERIFY(S_ISSOCK(status.st_mode));
    QCOMPARE(status.st_mode & 07777, mode_t(0600));
    QCOMPARE(status.st_uid, ::geteuid());
}

void TestChatHostLink::badRequestClosesOnlyItsConnection_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("reply"); // empty: the connection is closed unanswered

    const QByteArray zeros8(8, '\0');
    QTest::newRow("empty frame") << QByteArray(4, '\0') << QByteArray();
    QTest::newRow("one byte over the size bound")
        << QByteArray("\x00\x01\x00\x01", 4) + QByteArray(16, 'x') << QByteArray();
    QTest::newRow("length of 4 GiB") << QByteArray("\xff\xff\xff\xff", 4) << QByteArray();
    QTest::newRow("unknown request") << framed("\x7f") << QByteArray();
    QTest::newRow("FindWindowEx cut short") << framed("\x02" + zeros8) << QByteArray();
    QTest::newRow("SendChar without its code") << framed("\x04" + zeros8) << QByteArray();
    QTest::newRow("Hello with arguments") << framed(QByteArray("\x10\x00", 2)) << QByteArray();
    // The largest request there may be is served: a text to no window.
    QTest::newRow("request at the size bound")
        << framed("\x03" + zeros8 + QByteArray(qsizetype(wire::kMaxFrame) - 9, 'x'))
        << framed(QByteArray(1, '\0'));
    QTest::newRow("two requests in one write")
        << framed("\x11" + u64(0)) + framed("\x12" + u64(0))
        << framed(QByteArray()) + framed(QByteArray(1, '\0'));
}

void TestChatHostLink::badRequestClosesOnlyItsConnection() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, reply);
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    // A bystander's connection, open before and after the bad one.
    platform::UnixWindowSystem bystander(host.socketPath(), std::chrono::seconds(3));
    QCOMPARE(bystander.hostPid(), host.pid());

    QLocalSocket socket;
    socket.connectToServer(host.socketPath());
    QVERIFY(socket.waitForConnected(3000));
    socket.write(bytes);
    QVERIFY(socket.waitForBytesWritten(3000) || socket.bytesToWrite() == 0);
    if (reply.isEmpty()) {
        QVERIFY(socket.state() == QLocalSocket::UnconnectedState ||
                socket.waitForDisconnected(3000));
        QCOMPARE(socket.readAll(), QByteArray());
    } else {
        QByteArray received;
        while (received.size() < reply.size() && socket.waitForReadyRead(3000))
            received += socket.readAll();
        QCOMPARE(received, reply);
    }

    QCOMPARE(bystander.hostPid(), host.pid());
    timedChatSend("still here");
    QCOMPARE(recordBytes(host.waitForRecords(1)), QList<QByteArray>{"still here"});
}

void TestChatHostLink::anotherUsersConnectionIsDropped() {
    if (::geteuid() != 0)
        QSKIP("needs root, to connect as another user");
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    // Open the way for the other user, so that only chathost's own check is
    // left. (The runtime folder is looked up no more while it is open.)
    const QString socketPath = host.socketPath();
    const QByteArray path = QFile::encodeName(socketPath);
    const QStringList dirs = {env.root(), env.runtimeDir()};
    for (const QString &dir : dirs)
        QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 0711), 0);
    QCOMPARE(::chmod(path.constData(), 0666), 0);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    QVERIFY(path.size() < qsizetype(sizeof address.sun_path));
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const QByteArray hello = framed(QByteArray(1, char(wire::Hello)));

    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // Only system calls from here on: 0 dropped, 1 answered, 2 no connection.
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            ::_exit(2);
        ::send(fd, hello.constData(), size_t(hello.size()), MSG_NOSIGNAL);
        pollfd pfd{fd, POLLIN, 0};
        char buffer[16];
        if (::poll(&pfd, 1, 5000) != 1)
            ::_exit(4);
        ::_exit(::recv(fd, buffer, sizeof buffer, 0) > 0 ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QCOMPARE(::chmod(path.constData(), 0600), 0);
    for (const QString &dir : dirs)
        QCOMPARE(::chmod(QFile::encodeName(dir).constData(), 0700), 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    // The owner is still served.
    QCOMPARE(platform::UnixWindowSystem(socketPath, std::chrono::seconds(3)).hostPid(), host.pid());
}

void TestChatHostLink::secondChathostRefusesToStart() {
    TestEnv env;
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));

    QProcess second;
    second.start(ChatHostProcess::executable(), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QVERIFY(second.exitCode() != 0);
    const QString message = QString::fromLocal8Bit(second.readAllStandardError());
    QVERIFY2(message.contains("already running"), qPrintable(message));
    QVERIFY2(message.contains(QString::number(host.pid())), qPrintable(message));
    QVERIFY2(message.contains(host.socketPath()), qPrintable(message));

    QVERIFY(host.isRunning());
    timedChatSend("the first one still serves");
    QCOMPARE(host.waitForRecords(1).size(), 1);
}

QTEST_GUILESS_MAIN(TestChatHostLink)
#include "tst_chathostlink.moc"
