#include "ctcpflood.h"

#include "tests/irc/ircobserver.h"
#include "tests/waitfor.h"

#include <QTest>
#include <memory>
#include <vector>

namespace {

// "NOTICE flood3 :\x01PING 42\x01" as the client reads it: the request's number.
int answeredRequest(const QByteArray &line, const QByteArray &to) {
    const QByteArray head = " NOTICE " + to + " :\x01PING ";
    const qsizetype at = line.indexOf(head);
    if (at < 0)
        return -1;
    bool ok = false;
    const int request = line.mid(at + head.size()).chopped(1).toInt(&ok);
    return ok ? request : -1;
}

} // namespace

CtcpFlood::Result CtcpFlood::run(quint16 port, const QByteArray &channel, const QByteArray &nick,
                                 IrcObserver &observer,
                                 const std::function<void(const QByteArray &)> &post) const {
    Result result;
    std::vector<std::unique_ptr<IrcObserver>> others;
    QList<IrcObserver *> flooders{&observer};
    QList<QByteArray> names{"observer"};
    for (int i = 1; i < clients; ++i) {
        others.push_back(std::make_unique<IrcObserver>());
        const QByteArray name = "flood" + QByteArray::number(i);
        if (!others.back()->join(port, name, channel))
            return result;
        flooders.append(others.back().get());
        names.append(name);
    }
    result.joined = true;
    const qsizetype start = observer.lines().size();
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < clients; ++i)
            flooders[i]->sendLine("PRIVMSG " + nick + " :\x01PING " +
                                  QByteArray::number(result.requests++) + '\x01');
        QTest::qWait(roundMs);
        if (postAfterRounds.contains(round)) {
            const QByteArray line = "zorvel during the flood " + QByteArray::number(round);
            result.posted.append(line);
            result.postedMs.append(IrcObserver::now());
            post(line);
        }
    }
    const auto arrived = [&] {
        QList<qint64> ms;
        for (const IrcObserver::Line &line : observer.messagesFrom(nick, start)) {
            if (result.posted.contains(line.text))
                ms.append(line.ms);
        }
        return ms;
    };
    waitFor([&] { return arrived().size() >= result.posted.size(); }, 30000);
    // Time for replies still on their way.
    QTest::qWait(1000);
    result.arrivedMs = arrived();
    for (int i = 0; i < clients; ++i) {
        for (const IrcObserver::Line &line : flooders[i]->lines()) {
            const int request = answeredRequest(line.text, names[i]);
            if (request >= 0)
                result.replies.append({i, request, line.ms});
        }
    }
    return result;
}
