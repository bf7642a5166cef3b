#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

// A program a test starts gets SIGKILL from the kernel when the test's thread
// that started it is gone, even when the test was killed outright; the check
// after prctl() covers a test that died before it.
inline void diesWithTest(QProcess &process) {
    process.setChildProcessModifier([parent = ::getpid()] {
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)
            ::_exit(127);
    });
}
