#include "benchagent.h"

#include "app/mainstrip.h"
#include "app/windowregistry.h"
#include "hostlink/pause.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

qint64 nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}
qint64 monotonicNs() { return nanoseconds(CLOCK_MONOTONIC); }
qint64 cpuNs() { return nanoseconds(CLOCK_PROCESS_CPUTIME_ID); }

void say(const QByteArray &line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// A time of day that moves on a little at every reading, so a pause ends
// after a few looks at it: an hour of idle ticks in a moment.
class HurriedClock final : public platform::Clock {
public:
    double secondsSinceMidnight() const override { return m_now += 0.6; }

private:
    mutable double m_now = 3600.0;
};

} // namespace

BenchAgent::BenchAgent(app::MainStrip &mainStrip, app::WindowRegistry &windows)
    : QObject(&mainStrip), m_mainStrip(mainStrip), m_windows(windows),
      m_input(STDIN_FILENO, QSocketNotifier::Read) {
    connect(&m_input, &QSocketNotifier::activated, this, &BenchAgent::readCommands);
    windows.controller().idleTicker().installEventFilter(this);
    windows.controller().minuteCounter().installEventFilter(this);
    mainStrip.installEventFilter(this);
    // The session menu loads on first use; load it now so no figure pays for it.
    m_windows.sessionMenu();
}

bool BenchAgent::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &m_mainStrip && event->type() == QEvent::Paint) {
        // Loaded once the window is first on screen, as a user sees it.
        m_mainStrip.removeEventFilter(this);
        QTimer::singleShot(0, this, [] { say("ready"); });
    } else if (event->type() == QEvent::Timer) {
        const qint64 now = monotonicNs();
        say("tick " + watched->objectName().toLatin1() + ' ' + QByteArray::number(now));
        if (watched == &m_windows.controller().idleTicker() && m_cadenceLeft > 0) {
            if (m_cadence.isEmpty())
                m_cadenceCpu = cpuNs();
            m_cadence.append(now);
            if (m_cadence.size() == m_cadenceLeft + 1) {
                QByteArray answer = "done " + QByteArray::number(cpuNs() - m_cadenceCpu);
                for (const qint64 t : std::as_const(m_cadence))
                    answer += ' ' + QByteArray::number(t);
                m_cadenceLeft = 0;
                m_cadence.clear();
                say(answer);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void BenchAgent::readCommands() {
    char buffer[256];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
        // The driver has gone: so does the program, without its closing lines.
        m_input.setEnabled(false);
        std::_Exit(0);
    }
    m_pending.append(buffer, qsizetype(got));
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray command = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        run(command);
    }
}

void BenchAgent::run(const QByteArray &command) {
    const QList<QByteArray> words = command.split(' ');
    const QByteArray &verb = words.value(0);
    const int count = words.value(1).toInt();
    if (verb == "scale" && count > 0) {
        m_windows.controller().idleTicker().setInterval(59000 / count);
        m_windows.controller().minuteCounter().start(60000 / count);
        say("done");
    } else if (verb == "ticks") {
        HurriedClock clock;
        hostlink::setPauseClock(&clock);
        for (int i = 0; i < count; ++i)
            m_windows.controller().tick();
        hostlink::setPauseClock(nullptr);
        say("done");
    } else if (verb == "stats") {
        const qint64 cpu = cpuNs();
        const qint64 wall = monotonicNs();
        m_windows.sessionMenu()->showStatistics();
        say("done " + QByteArray::number(cpuNs() - cpu) + ' ' +
            QByteArray::number(monotonicNs() - wall));
    } else if (command == "idle on") {
        m_windows.sessionMenu()->goIdle();
        say("done");
    } else if (command == "idle off") {
        m_windows.sessionMenu()->comeBack();
        say("done");
    } else if (verb == "cadence" && count > 0) {
        m_cadenceLeft = count;
        m_cadence.clear();
    } else {
        say("error unknown command: " + command);
    }
}
