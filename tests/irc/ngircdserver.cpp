#include "ngircdserver.h"

#include "tests/childprocess.h"
#include "tests/waitfor.h"

#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

namespace {

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool listens(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    const bool connected = socket.waitForConnected(200);
    socket.abort();
    return connected;
}

} // namespace

QString NgircdServer::executable() {
    QStringList candidates;
    const QString env = qEnvironmentVariable("ZORVEL_NGIRCD");
    if (!env.isEmpty())
        candidates << env;
    candidates << qEnvironmentVariable("ZORVEL_BUILD_DIR") +
                      QStringLiteral("/ngircd/usr/sbin/ngircd")
               << QStringLiteral(ZORVEL_SOURCE_DIR "/build/ngircd/usr/sbin/ngircd")
               << QStringLiteral("/usr/sbin/ngircd");
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return candidate;
    }
    return {};
}

NgircdServer::NgircdServer(const Options &options) : m_options(options) {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    diesWithTest(m_process);
}

NgircdServer::~NgircdServer() { kill(); }

bool NgircdServer::run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        m_error = program + u' ' + arguments.join(u' ') + u": " +
                  QString::fromLocal8Bit(process.readAll());
        return false;
    }
    return true;
}

bool NgircdServer::makeCertificates() {
    const QString openssl = QStringLiteral("openssl");
    const QString subject = QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    QFile ext(m_dir.filePath(QStringLiteral("ext.cnf")));
    if (!ext.open(QIODevice::WriteOnly) || ext.write(subject.toLatin1()) < 0)
        return false;
    ext.close();
    // The DH group is a fixed one: generating new parameters takes long.
    if (!run(openssl, {u"genpkey"_s, u"-genparam"_s, u"-algorithm"_s, u"DH"_s, u"-pkeyopt"_s,
                       u"group:ffdhe2048"_s, u"-out"_s, u"dh.pem"_s}) ||
        !run(openssl, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-keyout"_s,
                       u"ca.key"_s, u"-out"_s, u"ca.pem"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                       u"/CN=zorvel test CA"_s}))
        return false;
    if (m_options.selfSigned)
        return run(openssl,
                   {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-keyout"_s,
                    u"server.key"_s, u"-out"_s, u"server.pem"_s, u"-days"_s, u"2"_s, u"-subj"_s,
                    u"/CN=127.0.0.1"_s, u"-addext"_s, subject.trimmed()});
    return run(openssl,
               {u"req"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-keyout"_s, u"server.key"_s,
                u"-out"_s, u"server.csr"_s, u"-subj"_s, u"/CN=127.0.0.1"_s}) &&
           run(openssl, {u"x509"_s, u"-req"_s, u"-in"_s, u"server.csr"_s, u"-CA"_s, u"ca.pem"_s,
                         u"-CAkey"_s, u"ca.key"_s, u"-CAcreateserial"_s, u"-out"_s, u"server.pem"_s,
                         u"-days"_s, u"2"_s, u"-extfile"_s, u"ext.cnf"_s});
}

bool NgircdServer::start() {
    const QString program = executable();
    if (program.isEmpty()) {
        m_error = QStringLiteral("no ngircd: scripts/setup-irc.sh unpacks it into build/ngircd");
        return false;
    }
    if (m_port == 0) {
        if (!makeCertificates())
            return false;
        m_port = freePort();
        m_tlsPort = freePort();
        QFile motd(m_dir.filePath(QStringLiteral("motd")));
        if (!motd.open(QIODevice::WriteOnly) || motd.write("zorvel test server\n") < 0)
            return false;
        const QString conf =
            QStringLiteral("[Global]\n"
                           "Name = irc.zorvel.test\n"
                           "Info = zorvel test server\n"
                           "AdminInfo1 = test\nAdminInfo2 = test\nAdminEMail = test@zorvel.test\n"
                           "Listen = 127.0.0.1\n"
                           "Ports = %1\n"
                           "MotdFile = %3/motd\n"
                           "PidFile = %3/ngircd.pid\n"
                           "%4"
                           "[Limits]\n"
                           "MaxConnectionsIP = 0\n"
                           "MaxNickLength = 30\n"
                           "[Options]\n"
                           "PAM = no\n"
                           "Ident = no\n"
                           "DNS = no\n"
                           "[SSL]\n"
                           "CertFile = %3/server.pem\n"
                           "KeyFile = %3/server.key\n"
                           "DHFile = %3/dh.pem\n"
                           "Ports = %2\n")
                .arg(m_port)
                .arg(m_tlsPort)
                .arg(m_dir.path(), m_options.password.isEmpty()
                                       ? QString()
                                       : QStringLiteral("Password = %1\n")
                                             .arg(QString::fromUtf8(m_options.password)));
        QFile file(m_dir.filePath(QStringLiteral("ngircd.conf")));
        if (!file.open(QIODevice::WriteOnly) || file.write(conf.toUtf8()) < 0)
            return false;
    }
    m_process.start(program, {u"-n"_s, u"-f"_s, m_dir.filePath(QStringLiteral("ngircd.conf"))});
    if (!m_process.waitForStarted(5000) ||
        !waitFor(
            [&] {
                return m_process.state() != QProcess::Running ||
                       (listens(m_port) && listens(m_tlsPort));
            },
            10000) ||
        m_process.state() != QProcess::Running) {
        m_error =
            QStringLiteral("ngircd did not start: ") + QString::fromLocal8Bit(m_process.readAll());
        return false;
    }
    return true;
}

void NgircdServer::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}
