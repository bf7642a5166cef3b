#include "platform/displayserver.h"

namespace platform {

// Windows has one window system, and Qt finds it.
void chooseDisplayServer() {}

} // namespace platform
