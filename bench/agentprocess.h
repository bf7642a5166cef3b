#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

#include <optional>

// zorvel's benchmark build, run as a separate process and driven through its
// control channel (one command a line on its standard input).
class AgentProcess {
public:
    struct Tick {
        QByteArray timer; // "Timer1" or "MiUs"
        qint64 ns = 0;    // when it fired, on the monotonic clock
    };

    AgentProcess();
    ~AgentProcess(); // kills the program if it still runs

    AgentProcess(const AgentProcess &) = delete;
    AgentProcess &operator=(const AgentProcess &) = delete;

    static QString executable();
    // Starts it and waits until it has loaded (its load lines posted).
    bool start();
    qint64 pid() const;
    // Sends a command and waits for its "done" line; the words after "done",
    // or nothing when it did not answer in time.
    std::optional<QList<QByteArray>> command(const QByteArray &line, int timeoutMs = 30000);
    // The timer ticks printed so far, taken out of the buffer.
    QList<Tick> takeTicks();
    QString errors();

private:
    // Waits for the next line that is not a tick; empty when none came in time.
    QByteArray nextAnswer(int timeoutMs);
    void readLines();

    QProcess m_process;
    QList<QByteArray> m_answers;
    QList<Tick> m_ticks;
};
