#pragma once

namespace menus {

class WindowRegistry;

// Ends the program through the session menu's unload command when it is
// told to end from outside: a termination signal, the desktop session's end,
// or the application quitting by any other road. The room always hears the
// closing lines.
void unloadOnOutsideEnd(WindowRegistry &windows);

} // namespace menus
