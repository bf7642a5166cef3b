#pragma once

#include <QObject>

class QSocketNotifier;

namespace chathost {

// Ends the event loop on SIGINT, SIGTERM or SIGHUP, so that chathost removes
// its socket and lock on the way out. One per process.
class SignalQuitter : public QObject {
    Q_OBJECT
public:
    explicit SignalQuitter(QObject *parent = nullptr);
    ~SignalQuitter() override;

private:
    static void onSignal(int signal);
    static int s_fds[2];
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace chathost
