#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace app {
class MainStrip;
class WindowRegistry;
} // namespace app

// The benchmark build's control channel: commands come one per line on
// standard input, answers and tick times go to standard output. It lets the
// benchmark driver run the program's own commands and timers and read its
// costs from the inside, with nothing else changed.
//
//   scale N      the idle tick and the minute timer run N times faster
//   ticks N      N idle ticks at once, their pauses cut short
//   stats        the statistics command, with its real pauses
//   idle on|off  the session menu's commands
//   cadence N    waits for N more idle ticks after the next one
//
// It says "ready" once the main strip is first on screen. Every command answers one line starting
// "done"; every timer tick prints "tick <timer> <monotonic ns>" as it fires.
class BenchAgent final : public QObject {
    Q_OBJECT
public:
    BenchAgent(app::MainStrip &mainStrip, app::WindowRegistry &windows);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readCommands();
    void run(const QByteArray &command);

    app::MainStrip &m_mainStrip;
    app::WindowRegistry &m_windows;
    QSocketNotifier m_input;
    QByteArray m_pending;
    // A cadence run: the idle ticks still to wait for, and the times of those seen.
    int m_cadenceLeft = 0;
    QList<qint64> m_cadence;
    qint64 m_cadenceCpu = 0;
};
