#pragma once

#include "chatwire/chatwire.h"
#include "platform/windowsystem.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

// The window system of chathost, reached over its local socket. Each exchange
// opens a fresh connection and may wait for chathost at most `bound` in all;
// after a timeout or any error the rest of the exchange answers 0 at once.
class UnixWindowSystem final : public WindowSystem {
public:
    static constexpr std::chrono::milliseconds kDefaultBound{250};

    // An empty socket path means the runtime folder's, looked up anew for
    // every exchange.
    explicit UnixWindowSystem(QString socketPath = {},
                              std::chrono::milliseconds bound = kDefaultBound);
    ~UnixWindowSystem() override;
    UnixWindowSystem(const UnixWindowSystem &) = delete;
    UnixWindowSystem &operator=(const UnixWindowSystem &) = delete;

    void beginExchange() override;
    WindowHandle findWindow(const QByteArray &className) override;
    WindowHandle findWindowEx(WindowHandle parent, WindowHandle childAfter,
                              const QByteArray &className) override;
    void setText(WindowHandle window, const QByteArray &text1252) override;
    void sendChar(WindowHandle window, int code) override;
    std::optional<QByteArray> windowText(WindowHandle window) override;
    void setAway(const QByteArray &text1252) override;

    // Requests for tests and tools, bounded the same way.
    // chathost's process id, or 0 when it does not answer.
    std::int64_t hostPid();
    // Brings a document window to the front.
    bool raiseWindow(WindowHandle window);
    // Types the text into the window as a person would, at its cursor.
    bool typeText(WindowHandle window, const QByteArray &text1252);

    // Sends one request payload and returns the reply's payload; nothing after
    // a timeout or an error, and nothing for the rest of the exchange.
    std::optional<QByteArray> request(const QByteArray &payload);

private:
    bool ensureConnected();
    bool waitFor(short events);
    bool writeAll(const QByteArray &bytes);
    bool readExactly(char *out, std::size_t size);
    void fail();
    std::optional<std::uint64_t> u64Reply(const QByteArray &payload);
    bool deliveredReply(const QByteArray &payload);

    QString m_socketPath;
    std::int64_t m_boundNs;
    std::int64_t m_leftNs;
    int m_fd = -1;
    bool m_failed = false;
};

} // namespace platform
