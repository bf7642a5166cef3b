#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real IRC server for a test: Debian's ngircd (unpacked into the build
// folder by scripts/setup-irc.sh), run in the foreground on free loopback
// ports with a configuration, certificates and a CA of the test's own in a
// temporary folder, and stopped by its process id.
class NgircdServer {
public:
    struct Options {
        QByteArray password;     // the server password; empty: none
        bool selfSigned = false; // a certificate no CA signed
    };

    NgircdServer() : NgircdServer(Options()) {}
    explicit NgircdServer(const Options &options);
    ~NgircdServer();

    // Where the ngircd program is, or empty when it is nowhere to be found.
    static QString executable();

    // Starts it (again, on the same ports) and waits until it listens.
    // False with the reason in error().
    bool start();
    // Ends it at once (SIGKILL), as a crash would.
    void kill();
    quint16 port() const { return m_port; }
    quint16 tlsPort() const { return m_tlsPort; }
    // The test's own CA, which signed the server's certificate (unless self-signed).
    QString caFile() const { return m_dir.filePath(QStringLiteral("ca.pem")); }
    QString dir() const { return m_dir.path(); }
    QString error() const { return m_error; }

private:
    bool makeCertificates();
    bool run(const QString &program, const QStringList &arguments);

    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_tlsPort = 0;
    QString m_error;
};
