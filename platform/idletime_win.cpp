#include "platform/idletime.h"

#include <windows.h>

namespace platform {

std::unique_ptr<IdleMonitor> desktopIdleMonitor() {
    // Windows keeps the tick count of the session's last input and tells it
    // only when asked.
    const auto ask = []() -> std::optional<qint64> {
        LASTINPUTINFO info;
        info.cbSize = sizeof info;
        info.dwTime = 0;
        if (!GetLastInputInfo(&info))
            return std::nullopt;
        // Both counts wrap after 49.7 days; their difference in 32 bits does not.
        return qint64(DWORD(GetTickCount() - info.dwTime));
    };
    if (!ask())
        return nullptr;
    return std::make_unique<PolledIdleMonitor>(QStringLiteral("GetLastInputInfo"), ask);
}

} // namespace platform
