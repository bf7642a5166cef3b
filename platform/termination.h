#pragma once

#include <functional>

class QObject;

namespace platform {

// Runs `onRequest` in the event loop of `context`'s thread each time the
// program is told to end from outside: SIGTERM or SIGINT on Unix; Ctrl+C,
// Ctrl+Break or the console's closing on Windows. Nothing runs inside the
// signal itself, and a second request while the first is handled is only
// another call, never the default ending. Call once, with a context that
// lives as long as the program.
void watchTermination(QObject *context, std::function<void()> onRequest);

} // namespace platform
