// Runs a command (a script test) as a test of its own process group, which
// ends with it (tests/processgroup.cpp): what the script starts cannot
// outlive a timeout. Exits as the command did.
//   zorvel_grouprun COMMAND [ARGUMENTS...]
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fputs("usage: zorvel_grouprun COMMAND [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return 127;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
