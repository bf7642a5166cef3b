#pragma once

#include "platform/clock.h"

// A time of day the tests own: it moves on `step` seconds at every look,
// from `start`, so a pause ends after a few looks, each running the pending
// events once, and no test waits in real time.
class StepClock final : public platform::Clock {
public:
    explicit StepClock(double start = 1000.0, double step = 0.1) : m_now(start), m_step(step) {}
    double secondsSinceMidnight() const override { return m_now += m_step; }
    double now() const { return m_now; }
    void setNow(double now) { m_now = now; }

private:
    mutable double m_now;
    double m_step;
};
