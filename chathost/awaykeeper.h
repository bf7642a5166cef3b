#pragma once

#include "chathost/awaylog.h"
#include "chathost/awaystate.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <functional>

namespace chathost {

class AwaySummary;
class IrcRooms;
class WindowTree;

// Keeps what was said to the user while away: from a SetAway with a reason
// to one without, every private message and every channel line naming the
// user's nick goes to the away log; back, the summary window shows them and
// each channel's room says how many were its own. The period and the log
// outlive chathost, so one started again goes on as it was.
class AwayKeeper : public QObject {
    Q_OBJECT
public:
    // `folder` holds away.log and away.state; `now` reads the clock (UTC).
    AwayKeeper(IrcRooms &rooms, WindowTree &tree, const QString &folder,
               std::function<QDateTime()> now, QObject *parent = nullptr);
    ~AwayKeeper() override;

    // Goes on with the period the state file holds: away again on the
    // networks, or the summary of a period whose window was not closed.
    void resume();
    // A SetAway (empty: back); true when a network took it.
    bool setAway(const QString &text);

private:
    void record(const QString &network, const QString &channel, const QString &sender,
                const QString &text);
    void saveState();
    void showSummary();
    void summaryClosed();
    void sayTrouble(const QString &error);

    IrcRooms &m_rooms;
    WindowTree &m_tree;
    AwayLog m_log;
    AwayStateFile m_stateFile;
    AwayPeriod m_period;
    std::function<QDateTime()> m_now;
    QPointer<AwaySummary> m_summary;
    bool m_troubleSaid = false;
};

} // namespace chathost
