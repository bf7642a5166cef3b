#include "windowsystem_unix.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

UnixWindowSystem::UnixWindowSystem(QString socketPath, std::chrono::milliseconds bound)
    : m_socketPath(std::move(socketPath)),
      m_boundNs(std::chrono::duration_cast<std::chrono::nanoseconds>(bound).count()),
      m_leftNs(m_boundNs) {}

UnixWindowSystem::~UnixWindowSystem() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void UnixWindowSystem::beginExchange() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_failed = false;
    m_leftNs = m_boundNs;
}

void UnixWindowSystem::fail() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_failed = true;
}

bool UnixWindowSystem::waitFor(short events) {
    if (m_leftNs <= 0)
        return false;
    pollfd pfd{m_fd, events, 0};
    const timespec timeout{time_t(m_leftNs / 1'000'000'000), long(m_leftNs % 1'000'000'000)};
    const std::int64_t start = nowNs();
    int ready;
    do {
        ready = ::ppoll(&pfd, 1, &timeout, nullptr);
    } while (ready < 0 && errno == EINTR && nowNs() - start < m_leftNs);
    m_leftNs -= nowNs() - start;
    // Readiness includes a hang-up or an error: the next read or write says which.
    return ready > 0;
}

bool UnixWindowSystem::ensureConnected() {
    if (m_fd >= 0)
        return true;
    const QByteArray path =
        (m_socketPath.isEmpty() ? chatwire::socketPath() : m_socketPath).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), path.size());

    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    if (::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return true;
    // A full backlog (EAGAIN) means chathost is not keeping up: no waiting for it.
    if (errno != EINPROGRESS || !waitFor(POLLOUT))
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool UnixWindowSystem::writeAll(const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(m_fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN && waitFor(POLLOUT))
            continue;
        else
            return false;
    }
    return true;
}

bool UnixWindowSystem::readExactly(char *out, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::recv(m_fd, out + done, size - done, 0);
        if (n > 0)
            done += std::size_t(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else if (n < 0 && errno == EAGAIN && waitFor(POLLIN))
            continue;
        else
            return false;
    }
    return true;
}

std::optional<QByteArray> UnixWindowSystem::request(const QByteArray &payload) {
    if (m_failed)
        return std::nullopt;
    char header[4];
    if (!ensureConnected() || !writeAll(chatwire::frame(payload)) || !readExactly(header, 4)) {
        fail();
        return std::nullopt;
    }
    // The size is checked before anything is taken for it: a peer that
    // announces 4 GiB must not make us try to hold them.
    const std::uint32_t size = chatwire::getU32(header);
    if (size > chatwire::kMaxFrame) {
        fail();
        return std::nullopt;
    }
    QByteArray reply(qsizetype(size), Qt::Uninitialized);
    if (!readExactly(reply.data(), size)) {
        fail();
        return std::nullopt;
    }
    return reply;
}

std::optional<std::uint64_t> UnixWindowSystem::u64Reply(const QByteArray &payload) {
    const auto reply = request(payload);
    if (!reply || reply->size() != 8) {
        if (reply)
            fail();
        return std::nullopt;
    }
    return chatwire::getU64(reply->constData());
}

bool UnixWindowSystem::deliveredReply(const QByteArray &payload) {
    const auto reply = request(payload);
    if (!reply || reply->size() != 1) {
        if (reply)
            fail();
        return false;
    }
    return reply->at(0) == 1;
}

WindowHandle UnixWindowSystem::findWindow(const QByteArray &className) {
    QByteArray payload(1, char(chatwire::FindWindow));
    return u64Reply(payload + className).value_or(0);
}

WindowHandle UnixWindowSystem::findWindowEx(WindowHandle parent, WindowHandle childAfter,
                                            const QByteArray &className) {
    QByteArray payload(1, char(chatwire::FindWindowEx));
    chatwire::putU64(payload, parent);
    chatwire::putU64(payload, childAfter);
    return u64Reply(payload + className).value_or(0);
}

void UnixWindowSystem::setText(WindowHandle window, const QByteArray &text1252) {
    QByteArray payload(1, char(chatwire::SetText));
    chatwire::putU64(payload, window);
    // A text longer than a request carries goes cut, as an entry box keeps
    // what it can hold, rather than not at all.
    deliveredReply(payload + text1252.left(chatwire::kMaxText));
}

void UnixWindowSystem::sendChar(WindowHandle window, int code) {
    QByteArray payload(1, char(chatwire::SendChar));
    chatwire::putU64(payload, window);
    chatwire::putU32(payload, std::uint32_t(code));
    deliveredReply(payload);
}

void UnixWindowSystem::setAway(const QByteArray &text1252) {
    // A chathost that does not know the request closes the connection: the
    // exchange ends at once, within its bound like any other.
    deliveredReply(QByteArray(1, char(chatwire::SetAway)) + text1252.left(chatwire::kMaxText));
}

std::int64_t UnixWindowSystem::hostPid() {
    const auto reply = request(QByteArray(1, char(chatwire::Hello)));
    if (!reply || reply->size() != 12)
        return 0;
    return std::int64_t(chatwire::getU64(reply->constData() + 4));
}

std::optional<QByteArray> UnixWindowSystem::windowText(WindowHandle window) {
    QByteArray payload(1, char(chatwire::WindowText));
    chatwire::putU64(payload, window);
    return request(payload);
}

bool UnixWindowSystem::raiseWindow(WindowHandle window) {
    QByteArray payload(1, char(chatwire::Raise));
    chatwire::putU64(payload, window);
    return deliveredReply(payload);
}

bool UnixWindowSystem::typeText(WindowHandle window, const QByteArray &text1252) {
    QByteArray payload(1, char(chatwire::Type));
    chatwire::putU64(payload, window);
    return deliveredReply(payload + text1252);
}

} // namespace platform
