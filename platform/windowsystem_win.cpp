#include "platform/windowsystem.h"

#include "chatwire/chatwire.h"
#include "platform/cp1252.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>
#include <windows.h>

namespace platform {
namespace {

// The chat client's own windows, driven through the Win32 calls directly.
// Finding windows asks the system only; the messages wait for the client's
// window thread, at most 250 ms in all per exchange, and not at all once it
// is known to hang. After a message that timed out or failed, the rest of the
// exchange goes nowhere at once.
class Win32WindowSystem final : public WindowSystem {
public:
    static constexpr std::chrono::milliseconds kBound{250};

    void beginExchange() override {
        m_deadline = Clock::now() + kBound;
        m_failed = false;
    }
    WindowHandle findWindow(const QByteArray &className) override {
        return WindowHandle(
            reinterpret_cast<std::uintptr_t>(FindWindowA(className.constData(), nullptr)));
    }
    WindowHandle findWindowEx(WindowHandle parent, WindowHandle childAfter,
                              const QByteArray &className) override {
        return WindowHandle(reinterpret_cast<std::uintptr_t>(
            FindWindowExA(toHwnd(parent), toHwnd(childAfter), className.constData(), nullptr)));
    }
    void setText(WindowHandle window, const QByteArray &text1252) override {
        // QByteArray keeps a NUL after its data, as WM_SETTEXT wants.
        send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text1252.constData()));
    }
    void sendChar(WindowHandle window, int code) override {
        send(window, WM_CHAR, WPARAM(code), 0);
    }
    std::optional<QByteArray> windowText(WindowHandle window) override {
        // Asked for as wide text and made Windows-1252 here, whatever the
        // system's own code page; a longer text comes cut to the buffer.
        wchar_t buffer[512];
        const std::optional<DWORD_PTR> length =
            send(window, WM_GETTEXT, WPARAM(std::size(buffer)), reinterpret_cast<LPARAM>(buffer),
                 SendMessageTimeoutW);
        if (!length)
            return std::nullopt;
        return toCp1252(QString::fromWCharArray(
            buffer, qsizetype(std::min<DWORD_PTR>(*length, std::size(buffer) - 1))));
    }
    void setAway(const QByteArray &text1252) override {
        // To the window the room search starts from; a client whose window
        // does not know the message answers 0, and one that does not answer
        // in time is left alone.
        const WindowHandle frame = findWindow(chatwire::kFrameClass);
        if (frame == 0)
            return;
        const QByteArray text = text1252.left(chatwire::kMaxText);
        COPYDATASTRUCT data{};
        data.dwData = ULONG_PTR(chatwire::kSetAwayCopyData);
        data.cbData = DWORD(text.size());
        data.lpData = const_cast<char *>(text.constData());
        send(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SendMessageTimeoutW);
    }

private:
    using Clock = std::chrono::steady_clock;

    static HWND toHwnd(WindowHandle handle) {
        return reinterpret_cast<HWND>(std::uintptr_t(handle));
    }

    using SendTimeout = decltype(&SendMessageTimeoutA);

    // The message's result; nothing once it timed out or failed.
    std::optional<DWORD_PTR> send(WindowHandle window, UINT message, WPARAM wParam, LPARAM lParam,
                                  SendTimeout sendTimeout = SendMessageTimeoutA) {
        if (m_failed)
            return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            m_deadline.value_or(Clock::now() + kBound) - Clock::now());
        DWORD_PTR result = 0;
        if (left.count() < 1 ||
            !sendTimeout(toHwnd(window), message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                         UINT(left.count()), &result)) {
            m_failed = true;
            return std::nullopt;
        }
        return result;
    }

    // Before the first exchange each message gets the whole bound.
    std::optional<Clock::time_point> m_deadline;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<WindowSystem> createWin32WindowSystem() {
    return std::make_unique<Win32WindowSystem>();
}

} // namespace platform
