#pragma once

#include <QByteArray>
#include <QList>
#include <functional>

class IrcObserver;

// A CTCP flood on chathost's nick while zorvel's lines are posted: raw
// clients in the channel send CTCP PINGs in rounds (each carrying its number
// in the flood, so a reply says which request it answers), and a line is
// posted after some of the rounds. The observer in the channel is one of the
// flooders, so its log holds both the replies it got and zorvel's lines.
// Shared by the test and the benchmark.
struct CtcpFlood {
    int clients = 8;
    int rounds = 12;
    int roundMs = 300; // between rounds
    QList<int> postAfterRounds = {1, 4, 7, 10};

    struct Reply {
        int client;
        int request; // its number in the flood
        qint64 ms;   // when it came, on IrcObserver::now()
    };
    struct Result {
        bool joined = false;
        int requests = 0;
        QList<Reply> replies;
        QList<QByteArray> posted; // the lines, as the observer should read them
        QList<qint64> postedMs;
        QList<qint64> arrivedMs; // of the posted lines that came, in order
    };

    // `post` posts the n-th line's text (plain text). The flood goes to
    // `nick` on the server at `port`, from clients in `channel`.
    Result run(quint16 port, const QByteArray &channel, const QByteArray &nick,
               IrcObserver &observer, const std::function<void(const QByteArray &)> &post) const;
};
