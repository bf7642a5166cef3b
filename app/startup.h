#pragma once

#include "hostlink/pacing.h"

#include <chrono>
#include <functional>

namespace app {

class MainStrip;
class WindowRegistry;

// What a run may differ in. The shipped program takes the defaults; a test
// build of it shortens the idle tick so a test driving it by hand need not
// wait a minute for each tick.
struct RunSettings {
    int idleTickMs = hostlink::pacing::kIdleTickMs;
    // What a minute of the "autoidle" key lasts.
    std::chrono::milliseconds autoIdleMinute = std::chrono::minutes(1);
    // Called once the main strip has loaded and shows, before the event loop
    // runs: the benchmark build attaches its control channel here.
    std::function<void(MainStrip &, WindowRegistry &)> attach;
};

// The program: the main strip loads, announces itself and shows; the
// program ends when its last window closes.
int run(int argc, char **argv, const RunSettings &settings = {});

// What every start does before the main strip loads: the fonts the windows
// name, and the settings folder.
void prepareStart();

} // namespace app
