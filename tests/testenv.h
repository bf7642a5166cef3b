#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME, XDG_STATE_HOME, XDG_RUNTIME_DIR and HOME at fresh temporary folders
// for the life of the object, so no test ever touches the user's own files.
// Construct it before anything reads those variables (QStandardPaths, QSettings).
class TestEnv {
public:
    TestEnv() {
        QDir(m_root.path()).mkpath(QStringLiteral("config"));
        QDir(m_root.path()).mkpath(QStringLiteral("runtime"));
        QDir(m_root.path()).mkpath(QStringLiteral("home"));
        QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_CONFIG_HOME", configDir().toLocal8Bit());
        qputenv("XDG_STATE_HOME", stateDir().toLocal8Bit());
        qputenv("XDG_RUNTIME_DIR", runtimeDir().toLocal8Bit());
        qputenv("HOME", homeDir().toLocal8Bit());
    }
    QString root() const { return m_root.path(); }
    QString configDir() const { return m_root.path() + QStringLiteral("/config"); }
    QString stateDir() const { return m_root.path() + QStringLiteral("/state"); }
    QString runtimeDir() const { return m_root.path() + QStringLiteral("/runtime"); }
    QString homeDir() const { return m_root.path() + QStringLiteral("/home"); }
    QString settingsFile() const { return configDir() + QStringLiteral("/zorvel/zorvel.ini"); }

private:
    QTemporaryDir m_root;
};
