// chatSend: the round trip of one line through a real chathost (finding the
// room, setting the entry box's text, pressing Enter), and what a line costs
// when chathost has hung: the bound and no more.
#include "bench/sections.h"
#include "hostlink/chatlink.h"
#include "tests/chathostprocess.h"

#include <QElapsedTimer>
#include <QFile>

#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {
constexpr int kWarmUps = 20;
constexpr int kLines = 2000;
constexpr int kHungLines = 10;
constexpr double kBoundMs = 250;
// A line may overrun the bound by the time the scheduler takes to wake it.
constexpr double kBoundSlackMs = 5;

QString styledLine(int i) {
    return QStringLiteral("</b></i></u><font face=\"arial narrow\" color=#FF0000>"
                          "\u00b7\u00b2\u00b9<font color=#00FF00>line %1")
        .arg(i);
}

double timedSend(int i) {
    QElapsedTimer elapsed;
    elapsed.start();
    hostlink::chatSend(styledLine(i), hostlink::LineKind::Load);
    return double(elapsed.nsecsElapsed()) / 1e6;
}

// A chathost that has hung: it takes every connection and never answers.
class HungHost {
public:
    explicit HungHost(const QString &path) {
        QFile::remove(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toLocal8Bit();
        std::memcpy(address.sun_path, bytes.constData(),
                    std::min<std::size_t>(std::size_t(bytes.size()), sizeof address.sun_path - 1));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        m_ok = m_fd >= 0 &&
               ::bind(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 &&
               ::listen(m_fd, 64) == 0;
        if (m_ok)
            m_acceptor = std::thread([this] {
                for (;;) {
                    const int connection = ::accept(m_fd, nullptr, nullptr);
                    if (connection < 0)
                        return;
                    m_held.push_back(connection);
                }
            });
    }
    ~HungHost() {
        ::shutdown(m_fd, SHUT_RDWR);
        if (m_acceptor.joinable())
            m_acceptor.join();
        for (const int fd : m_held)
            ::close(fd);
        ::close(m_fd);
    }
    bool ok() const { return m_ok; }

private:
    int m_fd = -1;
    bool m_ok = false;
    std::vector<int> m_held;
    std::thread m_acceptor;
};
} // namespace

void chatSendSection(const Report &report) {
    const QString name = QStringLiteral("chatSend round trip, %1 lines").arg(kLines);
    ChatHostProcess host;
    if (!host.start()) {
        report(notMeasured(name, QStringLiteral("chathost did not start")));
        return;
    }
    std::vector<double> ms;
    for (int i = 0; i < kWarmUps + kLines; ++i) {
        const double took = timedSend(i);
        if (i >= kWarmUps)
            ms.push_back(took);
    }
    const qsizetype arrived = host.waitForRecords(kWarmUps + kLines, 30000).size();
    const bool all = arrived == kWarmUps + kLines;
    report({name + QStringLiteral(", median"), millis(median(ms)), QString(), -1,
            QStringLiteral("every line arrives"), all});
    report({name + QStringLiteral(", 99th percentile"), millis(quantile(ms, 0.99)), QString(), -1,
            QStringLiteral("every line arrives"), all});

    const QString hungName =
        QStringLiteral("chatSend to a hung chathost, worst of %1").arg(kHungLines);
    host.kill();
    HungHost hung(host.socketPath());
    if (!hung.ok()) {
        report(notMeasured(hungName, QStringLiteral("could not take the socket's place")));
        return;
    }
    std::vector<double> hungMs;
    for (int i = 0; i < kHungLines; ++i)
        hungMs.push_back(timedSend(i));
    const double worst = quantile(hungMs, 1.0);
    report(
        {hungName, millis(worst), QStringLiteral("bound ") + millis(kBoundMs), worst / kBoundMs,
         QStringLiteral("the bound, not more"),
         worst <= kBoundMs + kBoundSlackMs && quantile(hungMs, 0.0) >= kBoundMs - kBoundSlackMs});
}
