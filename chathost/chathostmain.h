#pragma once

namespace chathost {

// The whole of chathost: reads the command line, takes the socket, shows the
// window and serves until the window closes. Returns the exit status.
int runChatHost(int argc, char **argv);

} // namespace chathost
