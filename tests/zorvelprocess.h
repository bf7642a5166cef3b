#pragma once

#include "tests/childprocess.h"

#include <QProcess>

// The built zorvel, run as a separate process for the life of the object
// (killed at the end). The test defines ZORVEL_EXE, its path.
class ZorvelProcess {
public:
    ZorvelProcess() {
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        diesWithTest(m_process);
        m_process.start(QStringLiteral(ZORVEL_EXE), {});
    }
    ~ZorvelProcess() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    ZorvelProcess(const ZorvelProcess &) = delete;
    ZorvelProcess &operator=(const ZorvelProcess &) = delete;
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};
