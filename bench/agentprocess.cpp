#include "agentprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

AgentProcess::AgentProcess() { m_process.setProcessChannelMode(QProcess::SeparateChannels); }

AgentProcess::~AgentProcess() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString AgentProcess::executable() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zorvel_bench");
}

bool AgentProcess::start() {
    m_process.start(executable(), {});
    if (!m_process.waitForStarted(10000))
        return false;
    return nextAnswer(30000) == "ready";
}

qint64 AgentProcess::pid() const { return m_process.processId(); }

std::optional<QList<QByteArray>> AgentProcess::command(const QByteArray &line, int timeoutMs) {
    m_process.write(line + '\n');
    m_process.waitForBytesWritten(1000);
    const QByteArray answer = nextAnswer(timeoutMs);
    if (!answer.startsWith("done"))
        return std::nullopt;
    QList<QByteArray> words = answer.split(' ');
    words.removeFirst();
    return words;
}

QList<AgentProcess::Tick> AgentProcess::takeTicks() {
    // Without an event loop the pipe is read only when asked to.
    while (m_process.waitForReadyRead(10))
        ;
    readLines();
    return std::exchange(m_ticks, {});
}

QString AgentProcess::errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }

QByteArray AgentProcess::nextAnswer(int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    readLines();
    while (m_answers.isEmpty() && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        readLines();
    }
    return m_answers.isEmpty() ? QByteArray() : m_answers.takeFirst();
}

void AgentProcess::readLines() {
    while (m_process.canReadLine()) {
        const QByteArray line = m_process.readLine().trimmed();
        if (line.startsWith("tick ")) {
            const QList<QByteArray> words = line.split(' ');
            m_ticks.append({words.value(1), words.value(2).toLongLong()});
        } else {
            m_answers.append(line);
        }
    }
}
