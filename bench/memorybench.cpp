// Memory: zorvel's peak resident memory once it has loaded and after an hour
// of idle ticks (61 ticks, their pauses cut short), against a bare Qt Widgets program showing one
// label.
#include "bench/agentprocess.h"
#include "bench/procstat.h"
#include "bench/sections.h"
#include "tests/chathostprocess.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
constexpr double kGoal = 1.3;
constexpr int kTicksInAnHour = 61;
constexpr qint64 kFirstHourSlackKib = 64;

// The bare program's peak resident memory once its label is on screen.
qint64 bareProgramPeakKib() {
    QProcess bare;
    bare.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bench_bare"),
               {QStringLiteral("--stay")});
    qint64 peak = -1;
    if (bare.waitForReadyRead(30000) && bare.readLine().trimmed() == "shown")
        peak = procstat::peakResidentKib(bare.processId());
    bare.closeWriteChannel();
    if (!bare.waitForFinished(5000))
        bare.kill();
    return peak;
}
} // namespace

void memorySection(const Report &report) {
    const QString loaded = QStringLiteral("peak memory once loaded");
    const QString hour = QStringLiteral("peak memory after an hour of idle ticks");
    const qint64 bare = bareProgramPeakKib();
    ChatHostProcess host;
    AgentProcess agent;
    if (bare <= 0 || !host.start() || !agent.start()) {
        report(notMeasured(loaded, QStringLiteral("a program did not start")));
        return;
    }
    const qint64 afterLoad = procstat::peakResidentKib(agent.pid());
    const auto ticked = agent.command("ticks " + QByteArray::number(kTicksInAnHour), 120000);
    const qint64 afterHour = procstat::peakResidentKib(agent.pid());
    const QString reference = QStringLiteral("bare ") + mebibytes(double(bare));
    const QString goal = QStringLiteral("<= %1x the bare one").arg(kGoal);
    const double loadedRatio = double(afterLoad) / double(bare);
    report(
        {loaded, mebibytes(double(afterLoad)), reference, loadedRatio, goal, loadedRatio <= kGoal});
    if (!ticked) {
        report(notMeasured(hour, QStringLiteral("the ticks did not finish")));
        return;
    }
    const double hourRatio = double(afterHour) / double(bare);
    report({hour, mebibytes(double(afterHour)), reference, hourRatio, goal, hourRatio <= kGoal});
    // The first hour may still take the allocator's first pages for paths the
    // load did not run; a second hour must take nothing more.
    const qint64 growth = afterHour - afterLoad;
    report({QStringLiteral("growth of the peak over that hour"),
            QStringLiteral("%1 KiB").arg(growth), QString(), -1,
            QStringLiteral("<= %1 KiB").arg(kFirstHourSlackKib), growth <= kFirstHourSlackKib});
    const bool second =
        agent.command("ticks " + QByteArray::number(kTicksInAnHour), 120000).has_value();
    const qint64 secondGrowth = procstat::peakResidentKib(agent.pid()) - afterHour;
    report({QStringLiteral("growth of the peak over a second hour"),
            QStringLiteral("%1 KiB").arg(secondGrowth), QString(), -1, QStringLiteral("none"),
            second && secondGrowth <= 0});
}
