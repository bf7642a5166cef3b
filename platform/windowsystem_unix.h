#pragma once

#include "windowsystem.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

// The wire between this client and chathost (chathost/PROTOCOL.md): every
// request and every reply is a frame, a 4-byte big-endian length followed by
// that many bytes. A request starts with one opcode byte.
namespace chatwire {

inline constexpr std::uint32_t kMaxFrame = 64 * 1024;
// The longest text a SetText or Type request carries: a frame less the
// opcode and the window handle.
inline constexpr std::uint32_t kMaxText = kMaxFrame - 1 - 8;
inline constexpr std::uint32_t kVersion = 1;

enum Op : std::uint8_t {
    FindWindow = 0x01,   // class                       -> u64 handle
    FindWindowEx = 0x02, // u64 parent, u64 after, class -> u64 handle
    SetText = 0x03,      // u64 window, bytes            -> u8 delivered
    SendChar = 0x04,     // u64 window, u32 code         -> u8 delivered
    Hello = 0x10,        // (nothing)                    -> u32 version, u64 pid
    WindowText = 0x11,   // u64 window                   -> bytes
    Raise = 0x12,        // u64 document window          -> u8 delivered
    Type = 0x13,         // u64 window, bytes            -> u8 delivered
    SetAway = 0x14,      // bytes (empty: back)           -> u8 taken by a network
};

// <runtime folder>/chathost.sock, the runtime folder looked up now.
QString socketPath();

void putU32(QByteArray &out, std::uint32_t value);
void putU64(QByteArray &out, std::uint64_t value);
std::uint32_t getU32(const char *in);
std::uint64_t getU64(const char *in);
// The payload with its length in front.
QByteArray frame(const QByteArray &payload);

} // namespace chatwire

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
    void setAway(const QByteArray &text1252) override;

    // Requests for tests and tools, bounded the same way.
    // chathost's process id, or 0 when it does not answer.
    std::int64_t hostPid();
    QByteArray windowText(WindowHandle window);
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
