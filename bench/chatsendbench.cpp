// Round trip of one ChatSend through a real chathost: find the room, set the
// entry box's text, press Enter, the line written to the transcript.
#include "chathostprocess.h"
#include "chatlink.h"
#include "testenv.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char **argv) {
    TestEnv env; // a chathost of its own, never the user's
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    constexpr int kWarmUp = 20;

    ChatHostProcess host;
    if (!host.start()) {
        std::fprintf(stderr, "bench_chatsend: chathost did not start:\n%s\n",
                     qPrintable(host.output()));
        return 1;
    }
    std::vector<double> micros;
    micros.reserve(std::size_t(count));
    for (int i = 0; i < kWarmUp + count; ++i) {
        const QString line = QStringLiteral("</b></i></u><font face=\"arial narrow\" color=#FF0000>"
                                            "\u00b7\u00b2\u00b9<font color=#00FF00>line %1")
                                 .arg(i);
        const auto start = std::chrono::steady_clock::now();
        hostlink::ChatSend(line);
        const auto end = std::chrono::steady_clock::now();
        if (i >= kWarmUp)
            micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    const qsizetype arrived = host.waitForRecords(kWarmUp + count).size();
    if (arrived != kWarmUp + count) {
        std::fprintf(stderr, "bench_chatsend: %lld of %d lines arrived\n", qlonglong(arrived),
                     kWarmUp + count);
        return 1;
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) { return micros[std::size_t(q * double(micros.size() - 1))]; };
    std::printf("ChatSend round trip through chathost, %d lines: median %.0f us, p99 %.0f us, "
                "max %.0f us\n",
                count, at(0.5), at(0.99), micros.back());
    std::printf("rerun: %s %d\n", qPrintable(QCoreApplication::applicationFilePath()), count);
    return 0;
}
