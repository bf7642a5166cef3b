#pragma once

#include "hostlink/chatlink.h"
#include "platform/windowsystem_unix.h"
#include "tests/testenv.h"

#include <chrono>

// What a test of chathost on a network starts from: an environment of its
// own, and the socket client through which zorvel's link reaches chathost,
// set as hostlink's window system for the test's life.
struct HostSocketWorld {
    TestEnv env;
    platform::UnixWindowSystem ws{QString(), std::chrono::milliseconds(2000)};

    HostSocketWorld() { hostlink::setWindowSystem(&ws); }
    ~HostSocketWorld() { hostlink::setWindowSystem(nullptr); }
    HostSocketWorld(const HostSocketWorld &) = delete;
    HostSocketWorld &operator=(const HostSocketWorld &) = delete;
};
