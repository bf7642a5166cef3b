#include "pause.h"

#include "hostlink/goodbye.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cmath>

namespace hostlink {

namespace {
const platform::Clock *g_clock = nullptr;

constexpr double kDay = 86400.0;

// Seconds from `start` to `now`, both times of day: a wait that crossed
// midnight sees the day's seconds start again at 0.
double secondsSince(double start, double now) {
    double elapsed = now - start;
    if (elapsed < -kDay / 2)
        elapsed += kDay;
    return elapsed;
}

// pause()'s wait; `cutWhenEnding` ends it at once when the program is ending.
void wait(int seconds, bool cutWhenEnding) {
    const auto cut = [cutWhenEnding] { return cutWhenEnding && isEnding(); };
    if (cut())
        return;
    const platform::Clock &clock = g_clock ? *g_clock : platform::systemClock();
    const bool realTime = g_clock == nullptr;
    const double start = std::nearbyint(clock.secondsSinceMidnight());

    // A clock set back (by hand, or at the end of summer time) must not stretch
    // the wait: the monotonic timer bounds it too.
    QElapsedTimer bound;
    bound.start();
    const qint64 boundMs = qint64(seconds) * 1000 + 1000;

    for (;;) {
        const double elapsed = secondsSince(start, clock.secondsSinceMidnight());
        if (elapsed >= seconds || bound.elapsed() >= boundMs)
            return;
        if (!realTime) {
            // An injected clock moves only as it is read: look again after
            // running the pending events once, as the loop always did.
            processPendingEvents();
        } else {
            // Sleep in the event loop until an event comes or the deadline does.
            QTimer wake;
            wake.setSingleShot(true);
            wake.setTimerType(Qt::PreciseTimer);
            const auto remainingMs = qint64(std::ceil((seconds - elapsed) * 1000.0));
            wake.start(int(std::max<qint64>(1, std::min(remainingMs, boundMs - bound.elapsed()))));
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (cut())
            return;
    }
}
} // namespace

void setPauseClock(const platform::Clock *clock) { g_clock = clock; }

int wholeSeconds(double seconds) {
    // nearbyint rounds in the current mode, which is to nearest, halves to even.
    return int(std::nearbyint(seconds));
}

void processPendingEvents() { QCoreApplication::processEvents(); }

void pause(int seconds) { wait(seconds, true); }

void closingPause(int seconds) { wait(seconds, false); }

} // namespace hostlink
