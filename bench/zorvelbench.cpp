// zorvel as shipped, with the benchmark driver's control channel attached
// once it has loaded. Built with the benchmarks only.
#include "app/startup.h"
#include "bench/benchagent.h"

int main(int argc, char **argv) {
    app::RunSettings settings;
    settings.attach = [](app::MainStrip &mainStrip, app::WindowRegistry &windows) {
        new BenchAgent(mainStrip, windows); // owned by the main strip
    };
    return app::run(argc, argv, settings);
}
