#include "clock.h"

#include <QTime>

namespace platform {

namespace {
class SystemClock final : public Clock {
public:
    double secondsSinceMidnight() const override {
        return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    }
};
} // namespace

Clock &systemClock() {
    static SystemClock clock;
    return clock;
}

} // namespace platform
