#include "windowsystem.h"

#include <windows.h>

namespace platform {
namespace {

// The chat client's own windows, driven through the Win32 calls directly.
class Win32WindowSystem final : public WindowSystem {
public:
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
        SendMessageA(toHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text1252.constData()));
    }
    void sendChar(WindowHandle window, int code) override {
        SendMessageA(toHwnd(window), WM_CHAR, WPARAM(code), 0);
    }

private:
    static HWND toHwnd(WindowHandle handle) {
        return reinterpret_cast<HWND>(std::uintptr_t(handle));
    }
};

} // namespace

std::unique_ptr<WindowSystem> createWin32WindowSystem() {
    return std::make_unique<Win32WindowSystem>();
}

} // namespace platform
