// Start-up: from the moment zorvel is started to its first load line in a
// real chathost's transcript, against the whole run of a bare Qt Widgets
// program that shows one label and quits. Runs alternate, so a machine that
// gets busier or quieter affects both alike.
#include "bench/sections.h"
#include "tests/chathostprocess.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>

namespace {
constexpr int kWarmUps = 2;
constexpr int kRuns = 15;
constexpr double kGoal = 1.5;

QString sibling(const QString &relative) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + relative;
}
} // namespace

void startupSection(const Report &report) {
    const QString name = QStringLiteral("start-up to the first load line (median)");
    ChatHostProcess host;
    if (!host.start()) {
        report(notMeasured(name, QStringLiteral("chathost did not start")));
        return;
    }
    std::vector<double> bare, zorvel;
    for (int run = 0; run < kWarmUps + kRuns; ++run) {
        QProcess reference;
        QElapsedTimer elapsed;
        elapsed.start();
        reference.start(sibling(QStringLiteral("bench_bare")), {});
        if (!reference.waitForFinished(30000) || reference.exitCode() != 0) {
            report(notMeasured(name, QStringLiteral("the bare program did not run")));
            return;
        }
        const double bareMs = double(elapsed.nsecsElapsed()) / 1e6;

        // chathost stamps each line with the time of day it was posted, in
        // milliseconds, so the transcript is read after the fact.
        const qsizetype before = host.records().size();
        QProcess program;
        const qint64 started = QDateTime::currentMSecsSinceEpoch();
        program.start(sibling(QStringLiteral("../app/zorvel")), {});
        const auto records = host.waitForRecords(int(before) + 1, 30000);
        program.kill();
        program.waitForFinished(5000);
        if (records.size() <= before) {
            report(notMeasured(name, QStringLiteral("zorvel posted no load line")));
            return;
        }
        if (run >= kWarmUps) {
            bare.push_back(bareMs);
            zorvel.push_back(double(records.at(before).ms - started));
        }
    }
    const double ratio = median(zorvel) / median(bare);
    report({name, millis(median(zorvel)), QStringLiteral("bare run ") + millis(median(bare)), ratio,
            QStringLiteral("<= %1x the bare run").arg(kGoal), ratio <= kGoal});
}
