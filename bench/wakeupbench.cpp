// Wake-ups: how often zorvel's threads wake while it waits, read from the
// kernel's count of voluntary context switches, a minute with idle mode off
// and a minute with it on, at the real timers' intervals; then a minute of
// auto-idle waiting under a real X server, the person at the desk. The
// benchmark build prints when each timer fires; a wake-up that no timer
// explains is polling, and there must be none.
#include "bench/agentprocess.h"
#include "bench/procstat.h"
#include "bench/sections.h"
#include "settings/settingsfile.h"
#include "tests/chathostprocess.h"
#include "tests/xvfbserver.h"

#include <functional>
#include <thread>

namespace {
constexpr qint64 kMinuteNs = 60'000'000'000;
constexpr qint64 kSampleNs = 100'000'000;
// How long after it fires a timer's work may still be running: the idle
// tick pauses up to a second and a half between its two lines.
constexpr qint64 kTickWorkNs = 2'000'000'000;
constexpr qint64 kMinuteWorkNs = 300'000'000;
constexpr qint64 kSlackNs = 20'000'000;

struct Minute {
    qint64 switches = 0;
    qint64 unexplained = 0;
    int ticks = 0;
};

// `meanwhile` runs at every sample, with the nanoseconds since the start.
Minute watchAMinute(AgentProcess &agent, const std::function<void(qint64)> &meanwhile = {}) {
    struct Sample {
        qint64 ns, switches;
    };
    agent.takeTicks();
    std::vector<Sample> samples{
        {procstat::monotonicNs(), procstat::voluntarySwitches(agent.pid())}};
    const qint64 end = samples.front().ns + kMinuteNs;
    while (samples.back().ns < end) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(kSampleNs));
        if (meanwhile)
            meanwhile(procstat::monotonicNs() - samples.front().ns);
        samples.push_back({procstat::monotonicNs(), procstat::voluntarySwitches(agent.pid())});
    }
    const QList<AgentProcess::Tick> ticks = agent.takeTicks();
    Minute minute;
    minute.ticks = int(ticks.size());
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const qint64 woke = samples[i].switches - samples[i - 1].switches;
        minute.switches += woke;
        const bool explained = std::any_of(ticks.begin(), ticks.end(), [&](const auto &tick) {
            const qint64 work = tick.timer == "Timer1" ? kTickWorkNs : kMinuteWorkNs;
            return tick.ns - kSlackNs <= samples[i].ns && samples[i - 1].ns <= tick.ns + work;
        });
        if (!explained)
            minute.unexplained += woke;
    }
    return minute;
}

Figure wakeupFigure(const QString &mode, const Minute &minute) {
    return {QStringLiteral("wake-ups per minute, %1").arg(mode),
            QString::number(minute.switches),
            QStringLiteral("%1 timer ticks").arg(minute.ticks),
            -1,
            QStringLiteral("0 outside the ticks"),
            minute.unexplained == 0 && minute.ticks > 0};
}
// Auto-idle set to ten minutes under a real X server (Xvfb), whose IDLETIME
// alarms tell zorvel when the time has come: the person at the desk moves
// the pointer every five seconds, and zorvel should not wake for any of it.
// Goal: no wake-up outside the timers' ticks, and no more than the idle
// tick's minute.
void autoIdleWaiting(const Report &report, const Minute &idleOn) {
    const QString name = QStringLiteral("wake-ups per minute, auto-idle waiting");
    XvfbServer x;
    if (!x.start()) {
        report(notMeasured(name, QStringLiteral("Xvfb did not start")));
        return;
    }
    settings::writeToIni(QStringLiteral("zorvel"), QStringLiteral("autoidle"), QStringLiteral("10"),
                         settings::settingsPath());
    // The source is the X server's: the benchmark build keeps its offscreen windows.
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", x.display().toLatin1());
    AgentProcess agent;
    const bool started = agent.start();
    if (display.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", display);
    settings::writeToIni(QStringLiteral("zorvel"), QStringLiteral("autoidle"), QString(),
                         settings::settingsPath());
    if (!started || agent.errors().contains(QStringLiteral("auto-idle stays off"))) {
        report(notMeasured(name, QStringLiteral("auto-idle did not start")));
        return;
    }
    qint64 nextMove = 0;
    int moves = 0;
    const Minute minute = watchAMinute(agent, [&](qint64 elapsed) {
        if (elapsed < nextMove)
            return;
        x.movePointer(100 + moves % 2 * 50, 100);
        ++moves;
        nextMove += 5'000'000'000;
    });
    report({name, QString::number(minute.switches),
            QStringLiteral("%1 pointer moves, %2 timer ticks; idle on: %3")
                .arg(moves)
                .arg(minute.ticks)
                .arg(idleOn.switches),
            -1, QStringLiteral("0 outside the ticks, at most idle on's"),
            minute.unexplained == 0 && minute.ticks > 0 && minute.switches <= idleOn.switches});
}
} // namespace

void wakeupSection(const Report &report) {
    ChatHostProcess host;
    if (!host.start()) {
        report(notMeasured(QStringLiteral("wake-ups per minute"),
                           QStringLiteral("chathost did not start")));
        return;
    }
    Minute on;
    {
        AgentProcess agent;
        if (!agent.start()) {
            report(notMeasured(QStringLiteral("wake-ups per minute"),
                               QStringLiteral("zorvel did not start")));
            return;
        }
        const Minute off = watchAMinute(agent);
        report(wakeupFigure(QStringLiteral("idle off"), off));
        if (!agent.command("idle on")) {
            report(notMeasured(QStringLiteral("wake-ups per minute, idle on"),
                               QStringLiteral("idle on did not answer")));
            return;
        }
        on = watchAMinute(agent);
        report(wakeupFigure(QStringLiteral("idle on"), on));
        if (off.unexplained + on.unexplained > 0)
            std::printf("  wake-ups no timer explains: %lld with idle off, %lld with idle on\n",
                        qlonglong(off.unexplained), qlonglong(on.unexplained));
    }
    autoIdleWaiting(report, on);
}
