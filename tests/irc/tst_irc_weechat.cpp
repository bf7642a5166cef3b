// A real IRC client that nobody here wrote as the observer: weechat-headless
// joins the channel on a real ngircd and logs it; the plain text of zorvel's
// start-up lines in its log is what the room shows (a link's address after
// its text, as the channel gets it).
#include "app/programlines.h"
#include "hostlink/chatlink.h"
#include "platform/cp1252.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/childprocess.h"
#include "tests/irc/ngircdserver.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"
#include "tests/zorvelprocess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The texts of the lines `nick` said, from a weechat log ("date TAB nick TAB text").
QStringList saidIn(const QString &logPath, const QString &nick) {
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList said;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() < 3)
            continue;
        QString who = QString::fromUtf8(fields[1]);
        while (!who.isEmpty() && QStringLiteral("~&@%+").contains(who[0]))
            who.remove(0, 1);
        if (who == nick)
            said << QString::fromUtf8(fields.mid(2).join('\t'));
    }
    return said;
}

} // namespace

class TestIrcWeechat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        if (NgircdServer::executable().isEmpty())
            QSKIP("ngircd is not installed here: scripts/setup-irc.sh unpacks Debian's package "
                  "into build/ngircd");
        if (QStandardPaths::findExecutable(u"weechat-headless"_s).isEmpty())
            QSKIP("weechat-headless is not installed here: scripts/setup-irc.sh installs it");
    }

    void zorvelsLinesAsWeechatLogsThem() {
        TestEnv env;
        platform::UnixWindowSystem ws(QString(), std::chrono::milliseconds(2000));
        hostlink::setWindowSystem(&ws);
        NgircdServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        ChatHostProcess host(
            {u"--irc"_s, QStringLiteral("irc://127.0.0.1:%1/#zorvel").arg(server.port()),
             u"--insecure"_s, u"--nick"_s, u"zorvel"_s, u"--announce"_s, u"full"_s});
        QVERIFY2(host.start(), qPrintable(host.output()));

        const QString dir = env.root() + u"/weechat"_s;
        QDir().mkpath(dir);
        QProcess weechat;
        weechat.setProcessChannelMode(QProcess::MergedChannels);
        diesWithTest(weechat);
        weechat.start(QStringLiteral("weechat-headless"),
                      {u"--dir"_s, dir, u"--run-command"_s,
                       QStringLiteral("/set logger.file.flush_delay 0;"
                                      "/server add test 127.0.0.1/%1 -notls -nicks=watcher "
                                      "-autojoin=#zorvel;/connect test")
                           .arg(server.port())});
        QVERIFY(weechat.waitForStarted(10000));
        const auto stopWeechat = qScopeGuard([&] {
            weechat.kill();
            weechat.waitForFinished(5000);
        });
        const QString log = dir + u"/logs/irc.test.#zorvel.weechatlog"_s;
        // weechat is in once its log shows it joining.
        QVERIFY2(waitFor(
                     [&] {
                         QFile file(log);
                         return file.open(QIODevice::ReadOnly) &&
                                file.readAll().contains("watcher");
                     },
                     20000),
                 qPrintable(QString::fromLocal8Bit(weechat.readAll())));

        ZorvelProcess zorvel;
        QVERIFY(waitFor([&] { return saidIn(log, u"zorvel"_s).size() >= 2; }, 30000));
        const QStringList logged = saidIn(log, u"zorvel"_s);
        for (const QString &line : logged)
            qInfo("weechat logged: %s", qPrintable(line));

        // The room's own view of the same lines, through the socket.
        ws.beginExchange();
        const platform::WindowHandle room = hostlink::findRoom();
        const QString transcript = platform::fromCp1252(
            ws.windowText(ws.findWindowEx(room, 0, "RICHCNTL")).value_or(QByteArray()));
        QStringList shown;
        for (QString line : transcript.split(u'\n')) {
            line.replace(QChar::Nbsp, u' ');
            // A link shows as its text; the channel has its address after it.
            line.replace(QStringLiteral("dl hérè"),
                         QStringLiteral("dl hérè (%1)").arg(QLatin1String(app::kDownloadPage)));
            if (line.startsWith(u"zorvel: "_s))
                shown << line.mid(8);
        }
        QCOMPARE(logged.mid(0, 2), shown.mid(0, 2));
        QCOMPARE(shown.size(), 2);

        hostlink::setWindowSystem(nullptr);
    }
};

QTEST_MAIN(TestIrcWeechat)
#include "tst_irc_weechat.moc"
