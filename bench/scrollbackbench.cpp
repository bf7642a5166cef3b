// A room's bounded memory: 20,000 idle-tick lines (about a week of ticks)
// posted into a real chathost, its resident memory and the cost of a line
// read after 1,000, 5,000 (the default scrollback), 10,000 and 20,000 lines.
// Past the scrollback the room drops its oldest lines, so both stay flat.
#include "bench/procstat.h"
#include "bench/sections.h"
#include "hostlink/chatlink.h"
#include "tests/chathostprocess.h"

#include <QElapsedTimer>
#include <QMap>

namespace {

constexpr int kCheckpoints[] = {1000, 5000, 10000, 20000};
constexpr int kScrollback = 5000;
// The cost of a line: the median round trip of the lines just before a checkpoint.
constexpr int kCostWindow = 200;
constexpr double kMemoryGrowth = 1.10;
constexpr double kCostGrowth = 1.5;

QString tickLine(int i) {
    return QStringLiteral("</b></u></i><font face=\"arial narrow\" color=#009900>/\u00af\\"
                          "<font color=#00000C>  zorvel  -:-<font color=#009900> frobble is "
                          "idl\u00e8 <font color=#00000C>-:-<font color=#00000C> tim\u00e9: "
                          "<font color=#009900>%1:%2 <font color=#00000C>..<font "
                          "color=#009900> /\u00af\\<font color=#FFFFFC>")
        .arg(i / 60)
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

void scrollbackSection(const Report &report) {
    const QString name = QStringLiteral("chathost room with %1 lines");
    ChatHostProcess host({QStringLiteral("--scrollback"), QString::number(kScrollback)});
    if (!host.start()) {
        report(notMeasured(name.arg(20000), QStringLiteral("chathost did not start")));
        return;
    }
    QMap<int, qint64> rssKib;
    QMap<int, double> costMs;
    std::vector<double> window;
    int posted = 0;
    for (const int checkpoint : kCheckpoints) {
        for (; posted < checkpoint; ++posted) {
            QElapsedTimer elapsed;
            elapsed.start();
            hostlink::chatSend(tickLine(posted), hostlink::LineKind::Load);
            if (checkpoint - posted <= kCostWindow)
                window.push_back(double(elapsed.nsecsElapsed()) / 1e6);
        }
        rssKib[checkpoint] = procstat::residentKib(host.pid());
        costMs[checkpoint] = median(window);
        window.clear();
    }
    const double limitKib = double(rssKib[kScrollback]);
    for (const int checkpoint : kCheckpoints) {
        const bool pastLimit = checkpoint > kScrollback;
        report({name.arg(checkpoint) + QStringLiteral(", resident memory"),
                mebibytes(double(rssKib[checkpoint])),
                pastLimit ? QStringLiteral("at %1 lines ").arg(kScrollback) + mebibytes(limitKib)
                          : QString(),
                pastLimit ? double(rssKib[checkpoint]) / limitKib : -1,
                pastLimit ? QStringLiteral("within 10% of the scrollback's")
                          : QStringLiteral("measured"),
                rssKib[checkpoint] > 0 &&
                    (!pastLimit || double(rssKib[checkpoint]) <= limitKib * kMemoryGrowth)});
    }
    for (const int checkpoint : kCheckpoints) {
        const bool later = checkpoint > kCheckpoints[0];
        report({name.arg(checkpoint) +
                    QStringLiteral(", a line's round trip (median of %1)").arg(kCostWindow),
                millis(costMs[checkpoint]),
                later ? QStringLiteral("at 1000 lines ") + millis(costMs[1000]) : QString(),
                later ? costMs[checkpoint] / costMs[1000] : -1,
                later ? QStringLiteral("at most 1.5 times the cost at 1000")
                      : QStringLiteral("measured"),
                !later || costMs[checkpoint] <= costMs[1000] * kCostGrowth});
    }
}
