#include "chathost/hostservice.h"

#include "chathost/nativewindowtree_win.h"
#include "chatwire/chatwire.h"

#include <windows.h>

namespace chathost {

namespace {

// One chathost per user session: a second one would split the clients.
constexpr wchar_t kMutexName[] = L"Local\\zorvel-chathost";

// The process of the chathost whose main window is found, or 0.
DWORD runningHostPid() {
    HWND frame = FindWindowA(chatwire::kFrameClass, nullptr);
    DWORD pid = 0;
    if (frame)
        GetWindowThreadProcessId(frame, &pid);
    return pid;
}

class WindowService final : public HostService {
public:
    explicit WindowService(WindowTree &tree) : m_tree(tree) {}
    ~WindowService() override {
        if (m_mutex)
            CloseHandle(m_mutex);
    }

    bool start(QString *message) override {
        // The system drops the mutex when its holder dies, however it dies.
        m_mutex = CreateMutexW(nullptr, FALSE, kMutexName);
        if (!m_mutex) {
            *message = QStringLiteral("chathost: cannot take the per-user lock");
            return false;
        }
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            *message = QStringLiteral("chathost: another chathost is already running for this "
                                      "user (pid %1)")
                           .arg(runningHostPid());
            return false;
        }
        m_windows = std::make_unique<NativeWindowTree>(
            m_tree, [this](const QString &text) { return m_setAway && m_setAway(text); });
        return true;
    }
    QString where() const override {
        return QStringLiteral("its window tree (class \"%1\")")
            .arg(QLatin1String(chatwire::kFrameClass));
    }
    void setAwayHandler(std::function<bool(const QString &)> handler) override {
        m_setAway = std::move(handler);
    }

private:
    WindowTree &m_tree;
    std::function<bool(const QString &)> m_setAway;
    HANDLE m_mutex = nullptr;
    std::unique_ptr<NativeWindowTree> m_windows;
};

} // namespace

std::unique_ptr<HostService> createHostService(WindowTree &tree) {
    return std::make_unique<WindowService>(tree);
}

bool pingHost(QString *message) {
    const DWORD pid = runningHostPid();
    *message = pid == 0 ? QStringLiteral("chathost: no chathost window found\n")
                        : QStringLiteral("chathost: running (pid %1)\n").arg(pid);
    return pid != 0;
}

} // namespace chathost
