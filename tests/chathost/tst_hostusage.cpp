// What `chathost --help` lists is what this build takes: each option it
// names, given a sensible value, passes the command line and the reading of
// the networks. Built on Linux and on Windows, whose texts differ.
#include "chathost/hostfolders.h"
#include "chathost/hostnetworks.h"
#include "chathost/hostoptions.h"
#include "chathost/hostusage.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include "tests/windows/winchathost.h"
#endif

using namespace Qt::StringLiterals;

namespace {

// The password file made the user's alone, as chmod 600 or icacls does.
bool makePrivate(const QString &path) {
#ifdef Q_OS_WIN
    return win::setFileAccess(path, u"D:P(A;;FA;;;%1)"_s.arg(win::userSid()));
#else
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
#endif
}

} // namespace

class TestHostUsage : public QObject {
    Q_OBJECT

private slots:
    void everyListedOptionIsTaken() {
        QTemporaryDir dir;
#ifdef Q_OS_WIN
        // networks.ini lies in the user's own folder, which only the Wine
        // prefix of the tests may have.
        if (!qEnvironmentVariableIsSet("ZORVEL_WINE_TEST_PREFIX"))
            QSKIP("runs only in the Wine prefix of scripts/test-windows.sh");
#else
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
#endif
        QVERIFY(QDir().mkpath(QFileInfo(chathost::networksFile()).absolutePath()));
        QFile networks(chathost::networksFile());
        QVERIFY(networks.open(QIODevice::WriteOnly));
        networks.write("[test]\nhost=127.0.0.1\nchannels=#one\n");
        networks.close();
        const QString secret = dir.filePath(u"secret"_s);
        QFile secretFile(secret);
        QVERIFY(secretFile.open(QIODevice::WriteOnly));
        secretFile.write("hunter2\n");
        secretFile.close();
        QVERIFY(makePrivate(secret));

        const QString irc = u"ircs://127.0.0.1/#one"_s;
        // What each option that takes a value is given, and what it needs beside it.
        const QHash<QString, QStringList> samples = {
            {u"--rooms"_s, {u"2"_s}},
            {u"--screen-name"_s, {u"Amber"_s}},
            {u"--room"_s, {u"Den"_s}},
            {u"--transcript"_s, {dir.filePath(u"transcript"_s)}},
            {u"--scrollback"_s, {u"10"_s}},
            {u"--irc"_s, {irc}},
            {u"--nick"_s, {u"Amber"_s, u"--irc"_s, irc}},
            {u"--network"_s, {u"test"_s, u"--nick"_s, u"Amber"_s}},
            {u"--ca-file"_s, {dir.filePath(u"ca.pem"_s), u"--irc"_s, irc}},
            {u"--announce"_s, {u"full"_s, u"--irc"_s, irc}},
            {u"--autoreply"_s, {u"5"_s, u"--irc"_s, irc}},
            {u"--store-password"_s, {u"test"_s}},
            {u"--password-file"_s, {secret, u"--irc"_s, irc}},
            {u"--sasl-user"_s, {u"Amber"_s, u"--password-file"_s, secret, u"--irc"_s, irc}},
        };
        // Answered without starting.
        const QStringList atOnce = {u"--help"_s, u"--version"_s, u"--ping"_s};
        static const QRegularExpression listed(u"^  (?:-\\w, )?(--[a-z-]+)( [A-Z]+)?"_s,
                                               QRegularExpression::MultilineOption);
        int tried = 0;
        for (auto match = listed.globalMatch(chathost::usageText()); match.hasNext();) {
            const QRegularExpressionMatch option = match.next();
            const QString name = option.captured(1);
            if (atOnce.contains(name))
                continue;
            QStringList arguments{name};
            if (option.hasCaptured(2)) {
                QVERIFY2(samples.contains(name), qPrintable(u"no sample value for "_s + name));
                arguments += samples.value(name);
            }
            QString error;
            bool help = false;
            std::optional<chathost::HostOptions> options =
                chathost::parseHostOptions(arguments, &error, &help);
            QVERIFY2(options, qPrintable(arguments.join(u' ') + u": "_s + error));
            QVERIFY2(chathost::prepareHostNetworks(*options, &error),
                     qPrintable(arguments.join(u' ') + u": "_s + error));
            ++tried;
        }
        QVERIFY(tried >= 10);
        QFile::remove(chathost::networksFile());
    }
};

QTEST_GUILESS_MAIN(TestHostUsage)
#include "tst_hostusage.moc"
