// Wake-ups: how often zorvel's threads wake while it waits, read from the
// kernel's count of voluntary context switches, a minute with idle mode off
// and a minute with it on, at the real timers' intervals. The benchmark
// build prints when each timer fires; a wake-up that no timer explains is
// polling, and there must be none.
#include "agentprocess.h"
#include "chathostprocess.h"
#include "procstat.h"
#include "sections.h"

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

Minute watchAMinute(AgentProcess &agent) {
    struct Sample {
        qint64 ns, switches;
    };
    agent.takeTicks();
    std::vector<Sample> samples{
        {procstat::monotonicNs(), procstat::voluntarySwitches(agent.pid())}};
    const qint64 end = samples.front().ns + kMinuteNs;
    while (samples.back().ns < end) {
        std::this_thread::sleep_for(std::chrono::nanoseconds(kSampleNs));
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
    return {QStringLiteral("wake-ups per minute, idle %1").arg(mode),
            QString::number(minute.switches),
            QStringLiteral("%1 timer ticks").arg(minute.ticks),
            -1,
            QStringLiteral("0 outside the ticks"),
            minute.unexplained == 0 && minute.ticks > 0};
}
} // namespace

void wakeupSection(const Report &report) {
    ChatHostProcess host;
    AgentProcess agent;
    if (!host.start() || !agent.start()) {
        report(notMeasured(QStringLiteral("wake-ups per minute"),
                           QStringLiteral("a program did not start")));
        return;
    }
    const Minute off = watchAMinute(agent);
    report(wakeupFigure(QStringLiteral("off"), off));
    if (!agent.command("idle on")) {
        report(notMeasured(QStringLiteral("wake-ups per minute, idle on"),
                           QStringLiteral("idle on did not answer")));
        return;
    }
    const Minute on = watchAMinute(agent);
    report(wakeupFigure(QStringLiteral("on"), on));
    if (off.unexplained + on.unexplained > 0)
        std::printf("  wake-ups no timer explains: %lld with idle off, %lld with idle on\n",
                    qlonglong(off.unexplained), qlonglong(on.unexplained));
}
