#include "windowsystem.h"

#ifdef _WIN32

namespace platform {
// In windowsystem_win.cpp: the real window system.
std::unique_ptr<WindowSystem> createWin32WindowSystem();

std::unique_ptr<WindowSystem> createWindowSystem() { return createWin32WindowSystem(); }
} // namespace platform

#else

#include "platform/windowsystem_unix.h"

namespace platform {
// Elsewhere the chat client is chathost, reached over its local socket.
std::unique_ptr<WindowSystem> createWindowSystem() { return std::make_unique<UnixWindowSystem>(); }
} // namespace platform

#endif
