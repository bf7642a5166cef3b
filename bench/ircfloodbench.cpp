// A CTCP flood on chathost's nick in a real IRC channel (Debian's ngircd,
// unpacked by scripts/setup-irc.sh) while zorvel's lines are posted: how
// many requests went, how many replies came out, and how long zorvel's lines
// waited between chatSend and the channel.
#include "bench/sections.h"
#include "hostlink/chatlink.h"
#include "irc/sendqueue.h"
#include "tests/chathostprocess.h"
#include "tests/irc/ctcpflood.h"
#include "tests/irc/ircobserver.h"
#include "tests/irc/ngircdserver.h"

namespace {
// A line posted within the burst leaves at once: what it waits is the way
// through chathost and the server, far below a second, whatever the flood.
constexpr double kGoalMs = 1000;
} // namespace

void ircFloodSection(const Report &report) {
    const QString name = QStringLiteral("IRC flood: zorvel's lines");
    if (NgircdServer::executable().isEmpty()) {
        report(notMeasured(name, QStringLiteral("no ngircd: run scripts/setup-irc.sh")));
        return;
    }
    NgircdServer server;
    if (!server.start()) {
        report(notMeasured(name, server.error()));
        return;
    }
    IrcObserver observer;
    if (!observer.join(server.port(), "observer", "#zorvel")) {
        report(notMeasured(name, QStringLiteral("the observer could not join")));
        return;
    }
    ChatHostProcess host(
        {QStringLiteral("--irc"), QStringLiteral("irc://127.0.0.1:%1/#zorvel").arg(server.port()),
         QStringLiteral("--insecure"), QStringLiteral("--nick"), QStringLiteral("zorvel"),
         QStringLiteral("--announce"), QStringLiteral("full")});
    if (!host.start() || observer.waitFor(":zorvel!") < 0) {
        report(notMeasured(name, QStringLiteral("chathost did not join")));
        return;
    }
    const CtcpFlood::Result result =
        CtcpFlood().run(server.port(), "#zorvel", "zorvel", observer, [](const QByteArray &line) {
            hostlink::chatSend(QString::fromLatin1(line), hostlink::LineKind::Load);
        });
    if (!result.joined) {
        report(notMeasured(name, QStringLiteral("the flooders could not join")));
        return;
    }
    std::vector<double> waits;
    for (qsizetype i = 0; i < result.arrivedMs.size(); ++i)
        waits.push_back(double(result.arrivedMs[i] - result.postedMs[i]));
    const bool all = result.arrivedMs.size() == result.posted.size();
    report({QStringLiteral("IRC flood: CTCP requests sent"), QString::number(result.requests),
            QString(), -1, QStringLiteral("at least 80"), result.requests >= 80});
    report({QStringLiteral("IRC flood: CTCP replies that went out"),
            QString::number(result.replies.size()), QString(), -1,
            QStringLiteral("at most %1 a minute").arg(irc::SendQueue::kRepliesPerWindow),
            result.replies.size() <= irc::SendQueue::kRepliesPerWindow});
    const QString lines =
        QStringLiteral(" (%1 of %2 came)").arg(result.arrivedMs.size()).arg(result.posted.size());
    report({name + QStringLiteral(", median wait") + lines,
            waits.empty() ? QStringLiteral("-") : millis(median(waits)), QString(), -1,
            QStringLiteral("every line, under ") + millis(kGoalMs),
            all && !waits.empty() && median(waits) < kGoalMs});
    report({name + QStringLiteral(", worst wait") + lines,
            waits.empty() ? QStringLiteral("-") : millis(quantile(waits, 1.0)), QString(), -1,
            QStringLiteral("every line, under ") + millis(kGoalMs),
            all && !waits.empty() && quantile(waits, 1.0) < kGoalMs});
}
