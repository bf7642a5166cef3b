#include "platform/windowsystem_unix.h"
#include "tests/testenv.h"

#include <QElapsedTimer>
#include <QtTest>

#include <atomic>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace wire = chatwire;
using platform::UnixWindowSystem;
using platform::WindowHandle;

namespace {

constexpr WindowHandle kAnswer = 7;

// A stand-in for chathost on its own thread, answering every request the
// same way after a delay, or misbehaving as told.
class ScriptedServer {
public:
    enum Mode { Answer, CloseAtFirstRequest, OversizedReply };

    ScriptedServer(const QString &path, Mode mode, int delayMs) : m_mode(mode), m_delayMs(delayMs) {
        const QByteArray bytes = QFile::encodeName(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
        m_listen = ::socket(AF_UNIX, SOCK_STREAM, 0);
        m_ready = ::bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                  ::listen(m_listen, 16) == 0;
        m_thread = std::thread([this] { run(); });
    }
    ~ScriptedServer() {
        m_stop = true;
        m_thread.join();
        ::close(m_listen);
    }
    bool ready() const { return m_ready; }
    int connections() const { return m_connections; }
    int requests() const { return m_requests; }

private:
    bool readExactly(int fd, char *out, size_t size) {
        size_t done = 0;
        while (done < size && !m_stop) {
            pollfd pfd{fd, POLLIN, 0};
            if (::poll(&pfd, 1, 20) != 1)
                continue;
            const ssize_t n = ::recv(fd, out + done, size - done, 0);
            if (n <= 0)
                return false;
            done += size_t(n);
        }
        return done == size;
    }

    void serve(int fd) {
        char header[4];
        while (readExactly(fd, header, 4)) {
            QByteArray payload(wire::getU32(header), Qt::Uninitialized);
            if (!readExactly(fd, payload.data(), size_t(payload.size())))
                break;
            ++m_requests;
            if (m_mode == CloseAtFirstRequest)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs));
            QByteArray reply;
            if (m_mode == OversizedReply) {
                wire::putU32(reply, wire::kMaxFrame + 1);
                reply += QByteArray(16, 'x');
            } else {
                QByteArray handle;
                wire::putU64(handle, kAnswer);
                reply = wire::frame(handle);
            }
            ::send(fd, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
        }
        ::close(fd);
    }

    void run() {
        while (!m_stop) {
            pollfd pfd{m_listen, POLLIN, 0};
            if (::poll(&pfd, 1, 20) != 1)
                continue;
            const int fd = ::accept(m_listen, nullptr, nullptr);
            if (fd < 0)
                continue;
            ++m_connections;
            serve(fd);
        }
    }

    Mode m_mode;
    int m_delayMs;
    int m_listen = -1;
    bool m_ready = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

// Wide enough for a loaded machine, still far below "hangs".
constexpr qint64 kBoundWithMarginMs = 600;

} // namespace

class TestWindowSystemUnix : public QObject {
    Q_OBJECT

private slots:
    void callWithoutBeginExchangeIsAnswered();
    void everyExchangeOpensAFreshConnection();
    void slowHostCostsAtMostTheBoundPerExchange();
    void afterAnErrorTheExchangeAnswersZeroAtOnce_data();
    void afterAnErrorTheExchangeAnswersZeroAtOnce();
    void setAwayToAHostThatDoesNotKnowIt();
    void framesCarryTheirLengthBigEndian();
};

void TestWindowSystemUnix::callWithoutBeginExchangeIsAnswered() {
    TestEnv env;
    ScriptedServer server(wire::socketPath(), ScriptedServer::Answer, 0);
    QVERIFY(server.ready());

    UnixWindowSystem client;
    QCOMPARE(client.findWindow("AOL Frame25"), kAnswer);
    QCOMPARE(client.findWindowEx(kAnswer, 0, "MDIClient"), kAnswer);
    QCOMPARE(server.connections(), 1);
    QCOMPARE(server.requests(), 2);
}

void TestWindowSystemUnix::everyExchangeOpensAFreshConnection() {
    TestEnv env;
    ScriptedServer server(wire::socketPath(), ScriptedServer::Answer, 0);
    QVERIFY(server.ready());

    UnixWindowSystem client;
    for (int i = 0; i < 3; ++i) {
        client.beginExchange();
        QCOMPARE(client.findWindow("AOL Frame25"), kAnswer);
        QCOMPARE(client.findWindowEx(kAnswer, 0, "MDIClient"), kAnswer);
    }
    QCOMPARE(server.connections(), 3);
    QCOMPARE(server.requests(), 6);
}

void TestWindowSystemUnix::slowHostCostsAtMostTheBoundPerExchange() {
    TestEnv env;
    // 100 ms per answer: two fit into the 250 ms of an exchange, a third does not.
    ScriptedServer server(wire::socketPath(), ScriptedServer::Answer, 100);
    QVERIFY(server.ready());

    UnixWindowSystem client;
    for (int exchange = 0; exchange < 2; ++exchange) {
        client.beginExchange();
        QElapsedTimer timer;
        timer.start();
        QList<WindowHandle> answers;
        for (int i = 0; i < 6; ++i)
            answers.append(client.findWindow("AOL Frame25"));
        const qint64 ms = timer.elapsed();

        QVERIFY2(ms < kBoundWithMarginMs, qPrintable(QString::number(ms)));
        QCOMPARE(answers.first(), kAnswer);
        QCOMPARE(answers.mid(3), (QList<WindowHandle>{0, 0, 0}));
        // Let the server finish the answer nobody waits for any more.
        QThread::msleep(150);
    }
}

void TestWindowSystemUnix::afterAnErrorTheExchangeAnswersZeroAtOnce_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("host closes the connection") << int(ScriptedServer::CloseAtFirstRequest);
    QTest::newRow("reply over the size bound") << int(ScriptedServer::OversizedReply);
}

void TestWindowSystemUnix::afterAnErrorTheExchangeAnswersZeroAtOnce() {
    QFETCH(int, mode);
    TestEnv env;
    ScriptedServer server(wire::socketPath(), ScriptedServer::Mode(mode), 0);
    QVERIFY(server.ready());

    UnixWindowSystem client;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(client.findWindow("AOL Frame25"), WindowHandle(0));
    QCOMPARE(client.findWindowEx(1, 0, "MDIClient"), WindowHandle(0));
    client.setText(1, "line");
    client.sendChar(1, 13);
    QVERIFY(timer.elapsed() < kBoundWithMarginMs);
    // Nothing after the failure reached the host.
    QTRY_COMPARE(server.requests(), 1);
    QCOMPARE(server.connections(), 1);
}

// A chathost older than SetAway closes the connection at the unknown request:
// the call costs no more than the bound, and the next exchange is served.
void TestWindowSystemUnix::setAwayToAHostThatDoesNotKnowIt() {
    TestEnv env;
    ScriptedServer server(wire::socketPath(), ScriptedServer::CloseAtFirstRequest, 0);
    QVERIFY(server.ready());
    UnixWindowSystem client;
    QElapsedTimer timer;
    timer.start();
    client.beginExchange();
    client.setAway("gone fishing");
    QVERIFY(timer.elapsed() < kBoundWithMarginMs);
    QTRY_COMPARE(server.requests(), 1);
    client.beginExchange();
    client.findWindow("AOL Frame25");
    QTRY_COMPARE(server.connections(), 2);
}

void TestWindowSystemUnix::framesCarryTheirLengthBigEndian() {
    QCOMPARE(wire::frame("abc"), QByteArray("\x00\x00\x00\x03"
                                            "abc",
                                            7));
    QByteArray out;
    wire::putU64(out, 0x0102030405060708ULL);
    QCOMPARE(out, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    QCOMPARE(wire::getU64(out.constData()), 0x0102030405060708ULL);
    QCOMPARE(wire::getU32("\xff\x00\x00\x01"), 0xff000001U);
}

QTEST_GUILESS_MAIN(TestWindowSystemUnix)
#include "tst_windowsystemunix.moc"
