#pragma once

#include "platform/idletime.h"

#include <QString>
#include <memory>

namespace platform {

// The Unix sources of the desktop's idle time, each on its own; nothing when
// it does not answer. desktopIdleMonitor() takes the first that does.

// The X server's IDLETIME counter (SYNC extension), with one alarm the
// server fires when the idle time reaches the threshold and, once it has,
// when input resets it: nothing is asked in between. `display` empty: $DISPLAY.
std::unique_ptr<IdleMonitor> xSyncIdleMonitor(const QString &display = {});
// The X server's screen-saver extension, asked as PolledIdleMonitor does.
std::unique_ptr<IdleMonitor>
xScreenSaverIdleMonitor(const QString &display = {},
                        std::chrono::milliseconds returnCheck = PolledIdleMonitor::kReturnCheck);
// GNOME's org.gnome.Mutter.IdleMonitor on the session bus, whose watches
// fire at the threshold and at the first input after it.
std::unique_ptr<IdleMonitor> mutterIdleMonitor();
// org.freedesktop.ScreenSaver's GetSessionIdleTime on the session bus, asked
// as PolledIdleMonitor does. GNOME answers that call with an error and is
// not taken; KDE answers in milliseconds.
std::unique_ptr<IdleMonitor>
freedesktopIdleMonitor(std::chrono::milliseconds returnCheck = PolledIdleMonitor::kReturnCheck);

} // namespace platform
