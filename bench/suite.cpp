// The benchmark suite: every figure side by side in one run, each with its
// goal and whether it was met. Names of sections on the command line run
// only those. Runs in private folders, never the user's settings or chathost.
#include "bench/sections.h"
#include "tests/testenv.h"

#include <QCoreApplication>

#include <cstdio>

Figure notMeasured(const QString &name, const QString &why) {
    return {name, QStringLiteral("-"), why, -1, QStringLiteral("measured"), false};
}

int main(int argc, char **argv) {
    TestEnv env;
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QCoreApplication application(argc, argv);

    const std::vector<std::pair<QString, void (*)(const Report &)>> sections = {
        {QStringLiteral("startup"), startupSection},
        {QStringLiteral("memory"), memorySection},
        {QStringLiteral("waiting"), waitingSection},
        {QStringLiteral("wakeups"), wakeupSection},
        {QStringLiteral("chatsend"), chatSendSection},
        {QStringLiteral("scrollback"), scrollbackSection},
#ifdef ZORVEL_BENCH_IRC
        {QStringLiteral("ircflood"), ircFloodSection},
#endif
    };
    QStringList chosen = application.arguments().mid(1);
    for (const QString &section : std::as_const(chosen)) {
        if (std::none_of(sections.begin(), sections.end(),
                         [&](const auto &known) { return known.first == section; })) {
            std::fprintf(stderr,
                         "bench_suite: no section \"%s\"; the sections are startup, "
                         "memory, waiting, wakeups, chatsend, scrollback, ircflood\n",
                         qPrintable(section));
            return 2;
        }
    }
    int missed = 0;
    const Report report = [&](const Figure &figure) {
        printFigure(figure);
        missed += figure.met ? 0 : 1;
    };
    std::printf("zorvel benchmarks, platform %s\n", qgetenv("QT_QPA_PLATFORM").constData());
    printHeading();
    for (const auto &[section, run] : sections) {
        if (chosen.isEmpty() || chosen.contains(section))
            run(report);
    }
    std::printf("%s\n", missed == 0
                            ? "every figure meets its goal"
                            : qPrintable(QStringLiteral("%1 figure(s) missed").arg(missed)));
    std::printf("rerun: %s%s%s\n", qPrintable(QCoreApplication::applicationFilePath()),
                chosen.isEmpty() ? "" : " ", qPrintable(chosen.join(QLatin1Char(' '))));
    return missed == 0 ? 0 : 1;
}
