#pragma once

namespace platform {

// Chooses the window system that the program's windows live on. Call it
// before the QApplication is built, which reads the choice. An explicit
// QT_QPA_PLATFORM is kept as it is.
void chooseDisplayServer();

} // namespace platform
