// Every process a test starts ends with the test, however the test ends: a
// failed check, a crash, or ctest's kill at its timeout, which reaches the
// test's own process alone. Run by ctest (ZORVEL_TEST_GROUP set), the test
// becomes a process group of its own before main, and a watchdog in that
// group ends the whole group the moment the test is gone. (Run by hand, the
// test stays in the terminal's group, where Ctrl-C reaches all of it.)
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool watchOverGroup() {
    if (!std::getenv("ZORVEL_TEST_GROUP"))
        return false;
    // Not passed on: a test program the test starts stays in this group.
    ::unsetenv("ZORVEL_TEST_GROUP");
    if (::setpgid(0, 0) != 0)
        return false;
    int ends[2];
    // Close-on-exec: only the test holds the writing end, not what it starts.
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    const pid_t watchdog = ::fork();
    if (watchdog != 0) {
        ::close(ends[0]);
        return watchdog > 0;
    }
    ::close(ends[1]);
    // Holds none of the test's output pipes open.
    const int null = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd)
        ::dup2(null, fd);
    char byte = 0;
    ssize_t got = 0;
    do {
        got = ::read(ends[0], &byte, 1); // nobody writes: it returns when the test is gone
    } while (got < 0 && errno == EINTR);
    ::kill(0, SIGKILL); // the group, this watchdog with it
    ::_exit(0);
}

[[maybe_unused]] const bool kWatched = watchOverGroup();

} // namespace
