#include "chathost/chathostmain.h"

int main(int argc, char **argv) { return chathost::runChatHost(argc, argv); }
