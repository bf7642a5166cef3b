#pragma once

#include <functional>

class QObject;

namespace platform {

// From now on a request to end from outside (SIGTERM or SIGINT on Unix;
// Ctrl+C, Ctrl+Break or the console's closing on Windows) no longer ends the
// program at once: it waits for watchTermination. Call it before the work
// that must not be cut short begins; calling it again changes nothing.
void holdTermination();

// Runs `onRequest` in the event loop of `context`'s thread for each request
// to end from outside, those held since holdTermination included. Nothing
// runs inside the signal itself, and a second request while the first is
// handled is only another call, never the default ending. On Windows the
// session's end (WM_QUERYENDSESSION, WM_ENDSESSION) is the exception: the
// system ends the process right after it, so `onRequest` runs once, inside the
// first of those messages. Call once, with a context that lives as long as
// the program.
void watchTermination(QObject *context, std::function<void()> onRequest);

} // namespace platform
