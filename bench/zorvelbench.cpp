// zorvel as shipped, with the benchmark driver's control channel attached
// once it has loaded. Built with the benchmarks only.
#include "benchagent.h"
#include "startup.h"

int main(int argc, char **argv) {
    app::RunSettings settings;
    settings.attach = [](app::Form1 &form1, menus::Forms &forms) {
        new BenchAgent(form1, forms); // owned by the main window
    };
    return app::run(argc, argv, settings);
}
