// CPU time of pause(1): it should sleep in the event loop, not spin.
#include "hostlink/pause.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    const double cpuStart = cpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        hostlink::pause(1);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = cpuSeconds() - cpuStart;

    std::printf("pause(1), %d calls: %.1f ms CPU per call (%.2f%% of %.0f ms wall per call)\n",
                count, cpu * 1000 / count, 100 * cpu / wall, wall * 1000 / count);
    std::printf("rerun: %s %d\n", qPrintable(QCoreApplication::applicationFilePath()), count);
    return 0;
}
