// zorvel as shipped, but for an idle tick every two seconds: the program
// that the real-click test drives. Built only with the tests.
#include "startup.h"

int main(int argc, char **argv) {
    app::RunSettings settings;
    settings.idleTickMs = 2000;
    return app::run(argc, argv, settings);
}
