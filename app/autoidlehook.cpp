#include "autoidlehook.h"

#include "app/windowregistry.h"
#include "autoidle/autoidle.h"
#include "control/sessioncontroller.h"
#include "menus/sessionmenu.h"
#include "platform/idletime.h"
#include "settings/storedsettings.h"

#include <cstdio>

namespace app {

namespace {

// Idle mode as the session controller keeps it, switched as a click on the
// session menu's entries switches it: the menu hides first.
class MenuIdleSession final : public autoidle::IdleSession {
public:
    explicit MenuIdleSession(WindowRegistry &windows) : m_windows(windows) {}

    // Once the program is ending the menu may be gone, and nothing switches.
    bool isIdle() const override {
        return !m_windows.isEnding() && m_windows.controller().isIdle();
    }
    void goIdle() override {
        if (m_windows.isEnding())
            return;
        m_windows.sessionMenu()->hide();
        m_windows.controller().goIdle();
    }
    void comeBack() override {
        if (m_windows.isEnding())
            return;
        m_windows.sessionMenu()->hide();
        m_windows.controller().comeBack();
    }

private:
    WindowRegistry &m_windows;
};

class AutoIdleHook final : public QObject {
public:
    AutoIdleHook(WindowRegistry &windows, std::unique_ptr<platform::IdleMonitor> monitor,
                 std::chrono::milliseconds threshold)
        : m_session(windows), m_monitor(std::move(monitor)),
          m_autoIdle(m_session, *m_monitor, threshold) {
        connect(&windows.controller(), &control::SessionController::idleChanged, &m_autoIdle,
                &autoidle::AutoIdle::switched);
    }

private:
    MenuIdleSession m_session;
    std::unique_ptr<platform::IdleMonitor> m_monitor;
    autoidle::AutoIdle m_autoIdle;
};

} // namespace

void storeAutoIdleMinutes(int minutes) {
    settings::StoredSettings().setAutoIdle(QString::number(minutes));
}

std::unique_ptr<QObject> startAutoIdle(WindowRegistry &windows, std::chrono::milliseconds minute) {
    const auto minutes = autoidle::minutesFrom(settings::StoredSettings().autoIdle());
    if (!minutes)
        return nullptr;
    auto monitor = platform::desktopIdleMonitor();
    if (!monitor) {
        std::fputs("zorvel: auto-idle stays off: this desktop does not tell how long it has "
                   "been left alone (no X server with the SYNC or screen-saver extension, no "
                   "GNOME IdleMonitor or org.freedesktop.ScreenSaver on the session bus)\n",
                   stderr);
        return nullptr;
    }
    return startAutoIdle(windows, std::move(monitor), *minutes * minute);
}

std::unique_ptr<QObject> startAutoIdle(WindowRegistry &windows,
                                       std::unique_ptr<platform::IdleMonitor> monitor,
                                       std::chrono::milliseconds threshold) {
    return std::make_unique<AutoIdleHook>(windows, std::move(monitor), threshold);
}

} // namespace app
