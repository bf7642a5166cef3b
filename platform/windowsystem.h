#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

// A window handle of the chat client; 0 stands for no window.
using WindowHandle = std::uint64_t;

// The few window-system calls the chat room link makes. Every call is
// bounded in time and silent on failure: a client that is gone, hung or slow
// answers 0 (or does nothing), never blocks the caller for long.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Starts one exchange: the calls that post one line. A backend that talks
    // to another process spends at most its time bound on the whole exchange
    // and starts afresh (new connection, nothing cached) at the next one.
    virtual void beginExchange() {}

    // The top-level window of the given class, or 0.
    virtual WindowHandle findWindow(const QByteArray &className) = 0;
    // The next direct child of `parent` of the given class after the sibling
    // `childAfter` (0: the first), siblings taken front to back; 0 when none.
    virtual WindowHandle findWindowEx(WindowHandle parent, WindowHandle childAfter,
                                      const QByteArray &className) = 0;
    // The set-text message: the window's text becomes `text1252` (Windows-1252 bytes).
    virtual void setText(WindowHandle window, const QByteArray &text1252) = 0;
    // The character message with the given character code.
    virtual void sendChar(WindowHandle window, int code) = 0;
    // The get-text message: the window's text in Windows-1252; nothing when
    // it cannot be read (no answer within the bound, or no way to ask).
    virtual std::optional<QByteArray> windowText(WindowHandle window) {
        (void)window;
        return std::nullopt;
    }
    // Marks the user away on the client's networks with the text, or back
    // when it is empty. A client that has no such notion ignores it.
    virtual void setAway(const QByteArray &text1252) { (void)text1252; }
};

// The window system of this platform: the real one on Windows, a client of
// chathost over its local socket elsewhere.
std::unique_ptr<WindowSystem> createWindowSystem();

} // namespace platform
