// zorvel as shipped, but for an idle tick every two seconds and the
// "autoidle" key read in seconds: the program that the real-click and
// auto-idle tests drive. Built only with the tests.
#include "app/startup.h"

int main(int argc, char **argv) {
    app::RunSettings settings;
    settings.idleTickMs = 2000;
    settings.autoIdleMinute = std::chrono::seconds(1);
    return app::run(argc, argv, settings);
}
