#pragma once

#include <QObject>
#include <chrono>
#include <memory>

namespace platform {
class IdleMonitor;
}

namespace app {

class WindowRegistry;

// Auto-idle as the settings file's "autoidle" key sets it, switching idle
// mode through the session controller as the session menu's commands do.
// Nothing when the key is off; when it is on and no source of the desktop's
// idle time answers, says so once on standard error and stays off. `minute`
// is a minute, but for the test build's seconds. The object lives no longer
// than `windows`.
std::unique_ptr<QObject> startAutoIdle(WindowRegistry &windows,
                                       std::chrono::milliseconds minute = std::chrono::minutes(1));
// The same with the caller's monitor, watching for `threshold`.
std::unique_ptr<QObject> startAutoIdle(WindowRegistry &windows,
                                       std::unique_ptr<platform::IdleMonitor> monitor,
                                       std::chrono::milliseconds threshold);

// Stores the "autoidle" key as --auto-idle gives it (0: off), by the
// settings writer's rules: only its own line of the file changes.
void storeAutoIdleMinutes(int minutes);

} // namespace app
