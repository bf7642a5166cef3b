#pragma once

#include "platform/clock.h"

namespace hostlink {

// The clock that pause() reads; tests put their own in its place. nullptr goes
// back to the system clock.
void setPauseClock(const platform::Clock *clock);

// A delay written with a fraction, taken as the nearest whole second (halves
// to even), as every caller does before calling pause().
int wholeSeconds(double seconds);

// Waits while the user interface keeps running: from the time of day rounded
// to the whole second, until `seconds` have passed. Pending events run
// meanwhile, so pause 1 lasts between half a second and a second and a half.
// It sleeps in the event loop rather than spinning, and a wait across
// midnight still ends on time. Once the program is ending it returns at
// once, so the announcement it paces stops there.
void pause(int seconds);
// pause() for the closing announcement, the one pause that runs its course
// once the program is ending.
void closingPause(int seconds);

// Runs the pending window messages once.
void processPendingEvents();

} // namespace hostlink
