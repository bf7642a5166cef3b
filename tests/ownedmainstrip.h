#pragma once

#include "app/mainstrip.h"
#include "session/sessionmodel.h"

#include <memory>

// A main strip with a session model of its own, which goes with it: one
// program's run, as start-up makes it.
inline std::unique_ptr<app::MainStrip> makeMainStrip() {
    auto *session = new session::SessionModel;
    auto strip = std::make_unique<app::MainStrip>(*session);
    session->setParent(strip.get());
    return strip;
}
