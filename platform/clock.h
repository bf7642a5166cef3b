#pragma once

namespace platform {

// The time of day, as the pacing routine reads it.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with the fraction.
    virtual double secondsSinceMidnight() const = 0;
};

// The real clock of the machine.
Clock &systemClock();

} // namespace platform
