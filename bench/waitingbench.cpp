// CPU while waiting, and the idle tick's cadence. The statistics command
// waits through three one-second pauses; idle mode waits a minute between
// ticks. Both must leave the processor to others while they wait. The idle
// run is scaled 20 times faster in the benchmark build (a tick every 2.95 s,
// each with its real one-second pause), which is harder than the real thing:
// the same work per tick, twenty times as often.
#include "bench/agentprocess.h"
#include "bench/sections.h"
#include "tests/chathostprocess.h"

namespace {
constexpr int kScale = 20;
constexpr int kTicks = 30;
constexpr double kTickMs = 59000.0 / kScale;
constexpr double kCpuGoalPercent = 1.0;
constexpr double kCadenceGoalPercent = 1.0;

Figure cpuFigure(const QString &name, double cpuNs, double wallNs) {
    const double percent = 100.0 * cpuNs / wallNs;
    return {name,
            QStringLiteral("%1 %").arg(percent, 0, 'f', 3),
            QStringLiteral("wall ") + millis(wallNs / 1e6),
            -1,
            QStringLiteral("< %1 % of wall time").arg(kCpuGoalPercent),
            percent < kCpuGoalPercent};
}
} // namespace

void waitingSection(const Report &report) {
    const QString statsName = QStringLiteral("CPU of the statistics command");
    ChatHostProcess host;
    AgentProcess agent;
    if (!host.start() || !agent.start()) {
        report(notMeasured(statsName, QStringLiteral("a program did not start")));
        return;
    }
    const auto stats = agent.command("stats");
    if (stats && stats->size() == 2)
        report(cpuFigure(statsName, stats->at(0).toDouble(), stats->at(1).toDouble()));
    else
        report(notMeasured(statsName, QStringLiteral("no answer")));

    const QString idleName =
        QStringLiteral("CPU of idle mode, %1 ticks at 1/%2 scale").arg(kTicks).arg(kScale);
    std::optional<QList<QByteArray>> cadence;
    if (agent.command("scale " + QByteArray::number(kScale)) && agent.command("idle on"))
        cadence =
            agent.command("cadence " + QByteArray::number(kTicks), int(kTickMs * (kTicks + 3)));
    if (!cadence || cadence->size() != kTicks + 2) {
        report(notMeasured(idleName, QStringLiteral("the ticks did not come")));
        return;
    }
    std::vector<double> ticks; // milliseconds on the monotonic clock
    for (qsizetype i = 1; i < cadence->size(); ++i)
        ticks.push_back(cadence->at(i).toDouble() / 1e6);
    const double span = ticks.back() - ticks.front();
    report(cpuFigure(idleName, cadence->at(0).toDouble(), span * 1e6));

    double worst = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i)
        worst = std::max(worst, std::abs(ticks[i] - ticks[i - 1] - kTickMs));
    const double worstPercent = 100.0 * worst / kTickMs;
    report({QStringLiteral("idle tick spacing, worst error of %1").arg(kTicks),
            QStringLiteral("%1 %").arg(worstPercent, 0, 'f', 3),
            QStringLiteral("tick ") + millis(kTickMs), -1,
            QStringLiteral("<= %1 % per tick").arg(kCadenceGoalPercent),
            worstPercent <= kCadenceGoalPercent});
    const double drift = span - kTicks * kTickMs;
    const double driftPercent = 100.0 * std::abs(drift) / kTickMs;
    report({QStringLiteral("idle tick drift over %1 ticks").arg(kTicks), millis(drift),
            QStringLiteral("%1 ticks ").arg(kTicks) + millis(kTicks * kTickMs), -1,
            QStringLiteral("<= %1 % of one tick").arg(kCadenceGoalPercent),
            driftPercent <= kCadenceGoalPercent});
}
