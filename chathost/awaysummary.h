#pragma once

#include "chathost/awaylog.h"
#include "chathost/awaystate.h"

#include <QDialog>
#include <QList>

class QTextBrowser;

namespace chathost {

class WindowTree;

// "While you were away": a window of its own (not a room, so that no room
// search finds it) with the time away, how many lines each conversation and
// channel kept, and each line with its time and sender, rendered as the
// rooms render it. Escape or Close closes it.
class AwaySummary : public QDialog {
    Q_OBJECT
public:
    // Its class in the window tree; its lines are the rich-text child.
    static constexpr const char *kWindowClass = "_chathost_AwaySummary";

    explicit AwaySummary(QWidget *parent = nullptr);
    void publish(WindowTree &tree);
    // Shows the period's records; `now` ends a period still going on.
    void setRecords(const AwayPeriod &period, const QList<AwayRecord> &records,
                    const QDateTime &now);

private:
    QTextBrowser *m_lines;
};

// "h:mm" of a span in milliseconds.
QString hoursMinutes(qint64 ms);

} // namespace chathost
