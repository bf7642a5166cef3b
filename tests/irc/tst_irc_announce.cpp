// The announce modes end to end: Debian's ngircd on loopback, a bare
// observer in the channel, a real chathost started with --announce MODE, and
// the whole program in-process on the test's clock, ticking when the test
// says. What each mode lets into the channel, byte for byte, and what the
// server's AWAY says meanwhile.
#include "app/programlines.h"
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "irc/ircformatter.h"
#include "platform/windowsystem_unix.h"
#include "tests/chathostprocess.h"
#include "tests/defaultstyle.h"
#include "tests/irc/expectedirc.h"
#include "tests/irc/hostsocketworld.h"
#include "tests/irc/ircobserver.h"
#include "tests/irc/ngircdserver.h"
#include "tests/menuprogram.h"
#include "tests/waitfor.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kChannel = "#zorvel";
const QByteArray kMarker = "the test's own line";

} // namespace

class TestIrcAnnounce : public QObject {
    Q_OBJECT
    std::unique_ptr<HostSocketWorld> m_world;
    StepClock m_clock;

    // A line typed into the room by the test, past zorvel's link: once the
    // observer has it, everything zorvel posted before it has arrived too.
    void postMarker() {
        m_world->ws.beginExchange();
        const platform::WindowHandle room = hostlink::findRoom();
        const platform::WindowHandle entry = m_world->ws.findWindowEx(
            room, m_world->ws.findWindowEx(room, 0, "RICHCNTL"), "RICHCNTL");
        m_world->ws.setText(entry, kMarker);
        m_world->ws.sendChar(entry, 13);
    }
    // Asks WHOIS until it gives `away` as zorvel's away text (empty: not
    // away), as AWAY waits its turn behind the lines posted before it; what
    // it gave last.
    static QByteArray whoisUntil(IrcObserver &observer, const QByteArray &away) {
        QByteArray said;
        waitFor(
            [&] {
                const qsizetype from = observer.lines().size();
                observer.sendLine("WHOIS zorvel");
                const qsizetype end = observer.waitFor(" 318 observer zorvel", from);
                said.clear();
                for (qsizetype i = from; i >= 0 && i < end; ++i) {
                    const QByteArray &text = observer.lines().at(i).text;
                    if (text.contains(" 301 observer zorvel :"))
                        said = text.mid(text.indexOf(" :") + 2);
                }
                return said == away;
            },
            60000);
        return said;
    }

private Q_SLOTS:
    void initTestCase() {
        if (NgircdServer::executable().isEmpty())
            QSKIP("ngircd is not installed here: scripts/setup-irc.sh unpacks Debian's package "
                  "into build/ngircd");
    }
    void init() {
        m_world = std::make_unique<HostSocketWorld>();
        menus::dialogs::resetScript();
        hostlink::setPauseClock(&m_clock);
    }
    void cleanup() {
        hostlink::setPauseClock(nullptr);
        hostlink::setWindowSystem(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_world.reset();
    }

    // The load, an away period of three ticks with the reason edited after
    // the first, idle off, idle on again and unload while idle.
    void awayPeriod_data() {
        QTest::addColumn<QString>("mode");
        // The lines that reach the channel: L load, E engaged, T idle time,
        // R reason, D disengaged, C closing, with the tick's number.
        QTest::addColumn<QString>("lines");
        QTest::newRow("full") << u"full"_s << u"L1 L2 E T1 R1 T2 R2 T3 R3 D E C1 C2"_s;
        QTest::newRow("changes") << u"changes"_s << u"E R1 D E C1 C2"_s;
        QTest::newRow("quiet") << u"quiet"_s << QString();
    }
    void awayPeriod() {
        QFETCH(QString, mode);
        QFETCH(QString, lines);
        NgircdServer server;
        QVERIFY2(server.start(), qPrintable(server.error()));
        IrcObserver observer;
        QVERIFY(observer.join(server.port(), "observer", kChannel));
        ChatHostProcess host({u"--irc"_s,
                              QStringLiteral("irc://127.0.0.1:%1/%2")
                                  .arg(server.port())
                                  .arg(QString::fromLatin1(kChannel)),
                              u"--nick"_s, u"zorvel"_s, u"--insecure"_s, u"--announce"_s, mode});
        QVERIFY2(host.start(), qPrintable(host.output()));
        QVERIFY(observer.waitFor(":zorvel!") >= 0);
        const qsizetype start = observer.lines().size();

        MenuProgram program; // the load lines
        // The test ticks; the timer must not tick on its own in between.
        program.controller.idleTicker().setInterval(std::chrono::hours(1));
        menus::SessionMenu *menu = program.sessionMenu();
        menus::dialogs::setNextAnswer(u"brb"_s);
        menu->editReason();
        menu->goIdle();
        program.controller.tick();
        // Edited while idle: the network hears the new reason.
        menus::dialogs::setNextAnswer(u"gone fishing"_s);
        menu->editReason();
        program.controller.tick();
        program.controller.tick();
        menu->comeBack();
        menu->goIdle();
        // Away with the edited reason while idle, whatever reaches the channel.
        QCOMPARE(whoisUntil(observer, "gone fishing"), QByteArray("gone fishing"));
        menu->unload();
        QCOMPARE(program.ends, 1);
        postMarker();
        QVERIFY(observer.waitFor(kMarker, start, 60000) >= 0);
        // Back once zorvel has gone.
        QCOMPARE(whoisUntil(observer, {}), QByteArray());

        observer.logLinesFrom("zorvel", start, QByteArray(" (" + mode.toUtf8() + ')').constData());
        const settings::PlainRecord style = firstStartRecord();
        const QString handle = u"frobble"_s, name = u"def\u00e0\u00f9lt"_s;
        const QString gone = u"gone fishing"_s;
        const auto tick = [&](const char *minute) {
            return control::idleLine(style, handle, u"0"_s, QLatin1String(minute));
        };
        const QHash<QString, QString> html = {
            {u"L1"_s, app::loadLine(style)},
            {u"L2"_s, app::loadIdentityLine(style, handle, name)},
            {u"E"_s, control::idleSessionLine(style, true)},
            {u"D"_s, control::idleSessionLine(style, false)},
            {u"T1"_s, tick("1")},
            {u"T2"_s, tick("2")},
            {u"T3"_s, tick("3")},
            {u"R1"_s, control::reasonLine(style, u"brb"_s)},
            {u"R2"_s, control::reasonLine(style, gone)},
            {u"R3"_s, control::reasonLine(style, gone)},
            {u"C1"_s, app::unloadLine(style)},
            {u"C2"_s, app::unloadIdentityLine(style, handle, name)},
        };
        QList<QByteArray> expected;
        for (const QString &line : lines.split(u' ', Qt::SkipEmptyParts))
            expected << irc::htmlToIrc(html.value(line));
        if (mode == u"full"_s) // as today, against the start-up test's bytes
            QCOMPARE(expected.mid(0, 2), (QList<QByteArray>{kLoadLine1Irc, kLoadLine2Irc}));
        expected << kMarker;
        QList<QByteArray> got;
        for (const IrcObserver::Line &line : observer.messagesFrom("zorvel", start))
            got << line.text;
        QCOMPARE(got, expected);
    }
};

QTEST_MAIN(TestIrcAnnounce)
#include "tst_irc_announce.moc"
