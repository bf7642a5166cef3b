#pragma once

#include "tests/childprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

// A private X server (Xvfb) on the first free display number from 140, for
// the life of the object, and xdotool driving its pointer as a person would.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    static bool toolsInstalled() {
        return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
    }

    // Starts it and waits (at most 10 s) until its socket is there.
    bool start() {
        int n = 140;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
               QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            ++n;
        m_display = QStringLiteral(":%1").arg(n);
        diesWithTest(m_process);
        m_process.start(QStringLiteral("Xvfb"),
                        {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1280x800x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
        if (!m_process.waitForStarted())
            return false;
        QDeadlineTimer up(10000);
        while (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
            if (up.hasExpired() || m_process.state() != QProcess::Running)
                return false;
            QThread::msleep(50);
        }
        return true;
    }
    QString display() const { return m_display; }

    // Runs xdotool on this display with the arguments; its standard output.
    QString xdotool(const QStringList &arguments) const {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xdotool"), arguments);
        p.waitForFinished(10000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }
    // A pointer move: input, as the X server counts it.
    void movePointer(int x, int y) const {
        xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
    }

private:
    QProcess m_process;
    QString m_display;
};
