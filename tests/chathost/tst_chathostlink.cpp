#include "hostlink/chatlink.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/testenv.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <thread>

#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wire = chatwire;

using namespace Qt::StringLiterals;

namespace {

// A posting exchange may wait 250 ms for chathost; anything under this is
// "within the bound" even on a loaded machine.
constexpr qint64 kBoundWithMarginMs = 600;

// Posts the line and returns how long chatSend took.
qint64 timedChatSend(const QByteArray &line1252) {
    QElapsedTimer timer;
    timer.start();
    hostlink::chatSend(hostlink::fromWindows1252(line1252), hostlink::LineKind::Load);
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

// What a broken peer on chathost's socket does with each request.
enum class PeerFault {
    Garbage,        // answers random bytes
    HugeLength,     // announces a reply longer than any frame
    WrongSize,      // answers a well-formed frame of the wrong size
    ClosesEachTime, // answers the first request soundly, then closes
    Drips,          // answers soundly, one byte every 100 ms
};

// A peer that listens where chathost would and answers wrongly, on a thread
// of its own so that it answers while chatSend waits. Stopped, it leaves its
// socket file behind, as a dead process would.
class FakePeer {
public:
    FakePeer(const QString &path, PeerFault fault) : m_fault(fault) {
        m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_listening =
            ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
            ::listen(m_listener, 16) == 0;
        m_thread = std::thread([this] { serve(); });
    }
    ~FakePeer() { stop(); }
    bool isListening() const { return m_listening; }
    int requests() const { return m_requests; }
    void stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
        m_listener = -1;
    }

private:
    // Waits until the descriptor can be read or the peer is stopped.
    bool readable(int fd) {
        pollfd pfd{fd, POLLIN, 0};
        while (!m_stop) {
            if (::poll(&pfd, 1, 20) > 0)
                return true;
        }
        return false;
    }
    void serve() {
        while (m_listening && readable(m_listener)) {
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            bool answered = false;
            char buffer[wire::kMaxFrame + 4];
            while (readable(fd)) {
                if (::recv(fd, buffer, sizeof buffer, 0) <= 0)
                    break;
                ++m_requests;
                if (m_fault == PeerFault::ClosesEachTime && answered)
                    break;
                answer(fd);
                answered = true;
            }
            ::close(fd);
        }
    }
    void answer(int fd) {
        QByteArray reply;
        switch (m_fault) {
        case PeerFault::Garbage:
            for (int i = 0; i < 64; ++i)
                reply.append(char(QRandomGenerator::global()->bounded(256)));
            break;
        case PeerFault::HugeLength:
            reply = QByteArray("\xff\xff\xff\xff", 4);
            break;
        case PeerFault::WrongSize:
            reply = framed("abc");
            break;
        case PeerFault::ClosesEachTime:
        case PeerFault::Drips:
            reply = framed(u64(1)); // a window, whatever was asked
            break;
        }
        for (const char byte : reply) {
            if (m_fault == PeerFault::Drips && !m_stop)
                QThread::msleep(100);
            if (::send(fd, &byte, 1, MSG_NOSIGNAL) != 1)
                return; // the client gave up
        }
    }

    const PeerFault m_fault;
    int m_listener = -1;
    bool m_listening = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(PeerFault)

class TestChatHostLink : public QObject {
    Q_OBJECT

private slots:
    void everyWindows1252ByteArrivesInOrder();
    void typedTextIsReplaced();
    void bringingAnotherRoomToTheFrontMovesTheNextLine();
    void linesWhileChathostIsGoneAreLostSilently();
    void missingChathostCostsLittle();
    void hungServerCostsAtMostTheBoundPerLine();
    void brokenPeerCostsAtMostTheBoundPerLine_data();
    void brokenPeerCostsAtMostTheBoundPerLine();
    void hugeReplyLengthIsNotAllocated();
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

    QVERIFY(host.typeIntoEntry(u"Lobby"_s, u"half a sente"_s));
    QCOMPARE(host.entryText(u"Lobby"_s), QStringLiteral("half a sente"));

    timedChatSend("<b>back soon</b>");

    QCOMPARE(recordBytes(host.waitForRecords(1)), QList<QByteArray>{"<b>back soon</b>"});
    QCOMPARE(host.entryText(u"Lobby"_s), QString());
}

void TestChatHostLink::bringingAnotherRoomToTheFrontMovesTheNextLine() {
    TestEnv env;
    ChatHostProcess host({u"--room"_s, u"Lobby"_s, u"--room"_s, u"Den"_s});
    QVERIFY2(host.start(), qPrintable(host.output()));
    QCOMPARE(host.documentsFrontToBack(), (QStringList{u"Welcome"_s, u"Lobby"_s, u"Den"_s}));

    timedChatSend("one");
    QVERIFY(host.bringToFront(u"Den"_s));
    QCOMPARE(host.documentsFrontToBack().first(), QStringLiteral("Den"));
    timedChatSend("two");
    QVERIFY(host.bringToFront(u"Lobby"_s));
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

void TestChatHostLink::brokenPeerCostsAtMostTheBoundPerLine_data() {
    QTest::addColumn<PeerFault>("fault");
    QTest::newRow("answers garbage") << PeerFault::Garbage;
    QTest::newRow("announces a reply of 4 GiB") << PeerFault::HugeLength;
    QTest::newRow("answers the wrong size") << PeerFault::WrongSize;
    QTest::newRow("closes after each request") << PeerFault::ClosesEachTime;
    QTest::newRow("answers one byte every 100 ms") << PeerFault::Drips;
}

void TestChatHostLink::brokenPeerCostsAtMostTheBoundPerLine() {
    QFETCH(PeerFault, fault);
    TestEnv env;
    FakePeer peer(wire::socketPath(), fault);
    QVERIFY(peer.isListening());

    for (int i = 0; i < 6; ++i) {
        const qint64 ms = timedChatSend("into the broken peer");
        QVERIFY2(ms < kBoundWithMarginMs, qPrintable(QString::number(ms)));
    }
    // It was asked, not skipped.
    QVERIFY(peer.requests() > 0);

    // Gone, it leaves its socket file; a sound chathost takes its place and
    // the next line is posted.
    peer.stop();
    QVERIFY(QFile::exists(wire::socketPath()));
    ChatHostProcess host;
    QVERIFY2(host.start(), qPrintable(host.output()));
    QVERIFY(timedChatSend("heard again") < kBoundWithMarginMs);
    QCOMPARE(recordBytes(host.waitForRecords(1)), QList<QByteArray>{"heard again"});
}

void TestChatHostLink::hugeReplyLengthIsNotAllocated() {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the address sanitizer's shadow memory leaves no room for an address-space limit");
#endif
    TestEnv env;
    FakePeer peer(wire::socketPath(), PeerFault::HugeLength);
    QVERIFY(peer.isListening());

    // Held to 512 MB more address space than it has, a reply that only
    // announces 4 GiB must not make the client try to take them.
    QFile status(QStringLiteral("/proc/self/status"));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QByteArray text = status.readAll();
    const qsizetype at = text.indexOf("VmSize:");
    QVERIFY(at >= 0);
    const QByteArray kilobytes = text.mid(at + 7, text.indexOf('\n', at) - at - 7).trimmed();
    const rlim_t used = rlim_t(kilobytes.split(' ').first().toULongLong()) * 1024;
    rlimit before{};
    QCOMPARE(::getrlimit(RLIMIT_AS, &before), 0);
    const rlimit held{std::min(before.rlim_max, used + (rlim_t(512) << 20)), before.rlim_max};
    QCOMPARE(::setrlimit(RLIMIT_AS, &held), 0);
    qint64 longest = 0;
    for (int i = 0; i < 3; ++i)
        longest = std::max(longest, timedChatSend("into the liar"));
    QCOMPARE(::setrlimit(RLIMIT_AS, &before), 0);
    QVERIFY2(longest < kBoundWithMarginMs, qPrintable(QString::number(longest)));
    QVERIFY(peer.requests() > 0);
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
    QVERIFY2(message.contains(u"already running"_s), qPrintable(message));
    QVERIFY2(message.contains(QString::number(host.pid())), qPrintable(message));
    QVERIFY2(message.contains(host.socketPath()), qPrintable(message));

    QVERIFY(host.isRunning());
    timedChatSend("the first one still serves");
    QCOMPARE(host.waitForRecords(1).size(), 1);
}

QTEST_GUILESS_MAIN(TestChatHostLink)
#include "tst_chathostlink.moc"
