#pragma once

#include <QDeadlineTimer>
#include <QTest>

// Waits, running events, until `done` holds or `ms` milliseconds have passed;
// true when it held. For waiting on other processes, never on our own clock.
template <typename Done> bool waitFor(Done done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
    return true;
}
