// The whole program under a real X server, driven by real pointer and
// keyboard events (xdotool) at places computed from the windows' twips, with
// every line checked in a real chathost's transcript. Run it alone with
// `ctest -L x11`.
#include "app/programlines.h"
#include "control/idlelines.h"
#include "hostlink/chatlink.h"
#include "menus/menulines.h"
#include "settings/settingsfile.h"
#include "styleshop/catalogue.h"
#include "styleshop/shoplines.h"
#include "tests/chathostprocess.h"
#include "tests/childprocess.h"
#include "tests/testenv.h"
#include "tests/waitfor.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <csignal>
#include <memory>

using settings::Field;

using namespace Qt::StringLiterals;

namespace {
constexpr int kTwips = 15;
constexpr int px(int twips) { return twips / kTwips; }

// Where the main window first stands, and where its controls take a press:
// the menu button's "w" between the two marks, and the hours left of the colon.
const QPoint kStripPlace(px(6810), px(3495));
const QPoint kMenuButton((90 + 165) / 2 / kTwips, 105 / kTwips);
const QPoint kHours(px(360) + 1, px(105));
// A menu entry is 255 twips high; press in its middle.
QPoint entryAt(int topTwips) { return {px(240), px(topTwips + 127)}; }

QString run(const QString &program, const QStringList &args, int timeoutMs = 10000) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

void xdo(const QStringList &args) { run(QStringLiteral("xdotool"), args); }

struct Window {
    QString id;
    QRect geometry;
};

// The visible top-level windows of the X server with their geometry.
QList<Window> windows() {
    QList<Window> out;
    const QStringList ids = run(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u""_s})
                                .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const QString shape = run(u"xdotool"_s, {u"getwindowgeometry"_s, u"--shell"_s, id});
        QMap<QString, int> v;
        for (const QString &line : shape.split(u'\n')) {
            const auto kv = line.split(u'=');
            if (kv.size() == 2)
                v[kv[0]] = kv[1].toInt();
        }
        out << Window{id, QRect(v[u"X"_s], v[u"Y"_s], v[u"WIDTH"_s], v[u"HEIGHT"_s])};
    }
    return out;
}

// The visible window of a given client size, waiting for it to appear.
std::optional<QRect> windowOfSize(QSize size, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    do {
        for (const Window &w : windows())
            if (w.geometry.size() == size)
                return w.geometry;
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

bool gone(QSize size, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    do {
        bool seen = false;
        for (const Window &w : windows())
            seen = seen || w.geometry.size() == size;
        if (!seen)
            return true;
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return false;
}

void clickAt(QPoint p, int button = 1) {
    xdo({u"mousemove"_s, QString::number(p.x()), QString::number(p.y()), u"click"_s,
         QString::number(button)});
}

const QSize kStripSize(px(615), px(225));
const QSize kSessionMenuSize(px(495), px(1395));
const QSize kOptionsWindowSize(px(495), px(1695));
const QSize kStyleShopSize(px(1695), px(3510));

// What marks each statistics line (1 to 4) and the idle tick's first line.
const QList<QByteArray> kStatsMarks = {"> zorvel st\xe0ts ", "> styl\xe9:<font",
                                       "> \xe0scii c\xf2l\xf3r:", "> l\xe2st idl\xe9: "};
const QByteArray kIdleMark = " is idl\xe8 <font";

// The statistics lines among the records, by number, in order.
QList<int> statsLines(const QList<TranscriptRecord> &records) {
    QList<int> numbers;
    for (const TranscriptRecord &record : records)
        for (int n = 0; n < kStatsMarks.size(); ++n)
            if (record.bytes.contains(kStatsMarks[n]))
                numbers << n + 1;
    return numbers;
}

QList<QByteArray> bytesOf(const QList<TranscriptRecord> &records) {
    QList<QByteArray> out;
    for (const TranscriptRecord &record : records)
        out << record.bytes;
    return out;
}

settings::PlainRecord recordOf(const QString &name, const QString &front, const QString &middle,
                               const QString &back, const QString &font, const QString &ascii) {
    settings::PlainRecord r;
    r.setCaption(Field::StyleName, name);
    r.setCaption(Field::FrontAscii, front);
    r.setCaption(Field::MiddleAscii, middle);
    r.setCaption(Field::BackAscii, back);
    r.setCaption(Field::FontColour, font);
    r.setCaption(Field::AsciiColour, ascii);
    return r;
}
} // namespace

class TestRealClicks : public QObject {
    Q_OBJECT

    TestEnv m_env;
    QProcess m_xvfb;

    int waitForLine(ChatHostProcess &host, const QByteArray &line, int from = 0,
                    int timeoutMs = 8000) {
        return host.waitForLine(line, from, timeoutMs);
    }

    // chathost, then the fast-idle zorvel, until its two load lines are out.
    void start(ChatHostProcess &host, QProcess &zorvel) {
        QVERIFY2(host.start(), qPrintable(host.output()));
        // The welcome window would cover the main window's place: let the
        // room come to the front, as a person would click it.
        QVERIFY(host.bringToFront(QStringLiteral("Lobby")));
        zorvel.setProcessChannelMode(QProcess::ForwardedChannels);
        diesWithTest(zorvel);
        zorvel.start(QStringLiteral(ZORVEL_FASTIDLE_EXE), {});
        QVERIFY(zorvel.waitForStarted());
        QCOMPARE(host.waitForRecords(2, 15000).size(), 2);
    }

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QFAIL("Xvfb and xdotool are needed: the set-up script installs them");
        int n = 140;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
               QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            ++n;
        const QString display = QStringLiteral(":%1").arg(n);
        diesWithTest(m_xvfb);
        m_xvfb.start(u"Xvfb"_s,
                     {display, u"-screen"_s, u"0"_s, u"1280x800x24"_s, u"-nolisten"_s, u"tcp"_s});
        QVERIFY(m_xvfb.waitForStarted());
        QDeadlineTimer up(10000);
        while (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) && !up.hasExpired())
            QTest::qWait(50);
        qputenv("DISPLAY", display.toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    void cleanupTestCase() {
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000);
    }

    void theWholeProgramByHand() {
        ChatHostProcess host;
        QProcess zorvel;
        start(host, zorvel);
        if (QTest::currentTestFailed())
            return;

        const auto strip = windowOfSize(kStripSize);
        QVERIFY(strip);
        QCOMPARE(strip->topLeft(), kStripPlace);

        settings::PlainRecord defaults =
            recordOf(QStringLiteral("defàùlt"), QStringLiteral("/¯\\"), QStringLiteral("-:-"),
                     QStringLiteral("/¯\\"), QStringLiteral("00000C"), QStringLiteral("009900"));

        // A left click on the "w" opens the session menu 720 twips right of
        // the main window, its top level with it.
        clickAt(kStripPlace + kMenuButton);
        auto menu = windowOfSize(kSessionMenuSize);
        QVERIFY(menu);
        QCOMPARE(menu->topLeft(), kStripPlace + QPoint(px(720), 0));

        // idle on
        int at = host.records().size();
        clickAt(menu->topLeft() + entryAt(0));
        QVERIFY(gone(kSessionMenuSize));
        QVERIFY(waitForLine(host, hostlink::toWindows1252(control::idleSessionLine(defaults, true)),
                            at) >= 0);

        // edit msg, a reason typed into the prompt; a tick (made due soon in
        // this build) then quotes it.
        clickAt(kStripPlace + kMenuButton);
        menu = windowOfSize(kSessionMenuSize);
        QVERIFY(menu);
        QStringList before;
        for (const Window &w : windows())
            before << w.id;
        clickAt(menu->topLeft() + entryAt(480));
        // The prompt: the one new window that is none of the program's own.
        QString prompt;
        QDeadlineTimer asked(8000);
        while (prompt.isEmpty() && !asked.hasExpired()) {
            for (const Window &w : windows())
                if (!before.contains(w.id) && w.geometry.size() != kSessionMenuSize)
                    prompt = w.id;
            QTest::qWait(100);
        }
        QVERIFY2(!prompt.isEmpty(), "no prompt appeared");
        xdo({u"windowfocus"_s, u"--sync"_s, prompt});
        xdo({u"type"_s, u"--delay"_s, u"40"_s, u"back in 5"_s});
        xdo({u"key"_s, u"Return"_s});
        at = host.records().size();
        QVERIFY(waitForLine(host,
                            hostlink::toWindows1252(
                                control::reasonLine(defaults, QStringLiteral("back in 5"))),
                            at, 15000) >= 0);

        // idle off
        clickAt(kStripPlace + kMenuButton);
        menu = windowOfSize(kSessionMenuSize);
        QVERIFY(menu);
        at = host.records().size();
        clickAt(menu->topLeft() + entryAt(240));
        QVERIFY(waitForLine(host,
                            hostlink::toWindows1252(control::idleSessionLine(defaults, false)),
                            at) >= 0);

        // A right press opens the options window in the same place and hides the menu.
        clickAt(kStripPlace + kMenuButton);
        QVERIFY(windowOfSize(kSessionMenuSize));
        clickAt(kStripPlace + kMenuButton, 3);
        const auto options = windowOfSize(kOptionsWindowSize);
        QVERIFY(options);
        QCOMPARE(options->topLeft(), kStripPlace + QPoint(px(720), 0));
        QVERIFY(gone(kSessionMenuSize));

        // styles: the shop opens with its line, the main window hides.
        at = host.records().size();
        clickAt(options->topLeft() + entryAt(240));
        const auto shop = windowOfSize(kStyleShopSize);
        QVERIFY(shop);
        QVERIFY(gone(kStripSize));
        QVERIFY(waitForLine(host, hostlink::toWindows1252(styleshop::loadLine(defaults)), at) >= 0);

        // The first entry applies its style.
        at = host.records().size();
        clickAt(shop->topLeft() + QPoint(px(480), px(240 + 127)));
        const styleshop::Style &glimtar = styleshop::catalogue().front();
        const settings::PlainRecord style1 = recordOf(
            glimtar.name.toString(), glimtar.front.toString(), glimtar.middle.toString(),
            glimtar.back.toString(), glimtar.fontColour.toString(), glimtar.asciiColour.toString());
        QVERIFY(waitForLine(host, hostlink::toWindows1252(styleshop::styleLine(glimtar, style1)),
                            at) >= 0);

        // The title closes the shop, with its line in the new style, and
        // brings the main window back.
        at = host.records().size();
        clickAt(shop->topLeft() + QPoint(px(240 + 500), px(127)));
        QVERIFY(gone(kStyleShopSize));
        QVERIFY(windowOfSize(kStripSize));
        QVERIFY(waitForLine(host, hostlink::toWindows1252(styleshop::unloadLine(style1)), at) >= 0);

        // Dragging the hours moves the window.
        const QPoint by(120, 60);
        const QPoint grip = kStripPlace + kHours;
        xdo({u"mousemove"_s, QString::number(grip.x()), QString::number(grip.y()), u"mousedown"_s,
             u"1"_s});
        for (int step = 1; step <= 4; ++step) {
            const QPoint p = grip + by * step / 4;
            xdo({u"mousemove"_s, QString::number(p.x()), QString::number(p.y())});
            QTest::qWait(50);
        }
        xdo({u"mouseup"_s, u"1"_s});
        // On a loaded machine the last moves take a while to be handled.
        waitFor(
            [&] {
                const auto window = windowOfSize(kStripSize);
                return window && window->topLeft() == kStripPlace + by;
            },
            10000);
        const auto moved = windowOfSize(kStripSize);
        QVERIFY(moved);
        QCOMPARE(moved->topLeft(), kStripPlace + by);

        // unload: the closing lines, and the program ends well.
        clickAt(moved->topLeft() + kMenuButton);
        menu = windowOfSize(kSessionMenuSize);
        QVERIFY(menu);
        at = host.records().size();
        clickAt(menu->topLeft() + entryAt(960));
        QVERIFY(zorvel.waitForFinished(30000));
        QCOMPARE(zorvel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zorvel.exitCode(), 0);
        const int unloadAt =
            waitForLine(host, hostlink::toWindows1252(app::unloadLine(style1)), at);
        QVERIFY(unloadAt >= 0);
        QVERIFY(waitForLine(host,
                            hostlink::toWindows1252(app::unloadIdentityLine(
                                style1, QStringLiteral("frobble"), glimtar.name.toString())),
                            unloadAt + 1) == unloadAt + 1);
    }

    // Told to end while an announcement of several lines goes out: the room
    // keeps the lines posted before the request, then exactly the two closing
    // lines, about a second apart, and nothing after them.
    void endingCutsAnAnnouncementShort_data() {
        QTest::addColumn<bool>("idleTick"); // the idle tick's two lines, else the statistics
        // Statistics lines out when the request comes; 0: the next one once
        // the menu is back.
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("signal"); // SIGTERM, else a click on "unload"
        QTest::newRow("SIGTERM after statistics line 1") << false << 1 << true;
        QTest::newRow("SIGTERM after statistics line 2") << false << 2 << true;
        QTest::newRow("SIGTERM after statistics line 3") << false << 3 << true;
        QTest::newRow("unload clicked during the statistics") << false << 0 << false;
        QTest::newRow("unload clicked in the idle tick's pause") << true << 0 << false;
        QTest::newRow("SIGTERM in the idle tick's pause") << true << 0 << true;
    }
    void endingCutsAnAnnouncementShort() {
        QFETCH(bool, idleTick);
        QFETCH(int, after);
        QFETCH(bool, signal);
        ChatHostProcess host;
        QProcess zorvel;
        start(host, zorvel);
        if (QTest::currentTestFailed())
            return;
        const auto strip = windowOfSize(kStripSize);
        QVERIFY(strip);
        const auto openMenu = [&strip] {
            clickAt(strip->topLeft() + kMenuButton);
            return windowOfSize(kSessionMenuSize);
        };

        // The announcement starts (idle on starts the ticks); for a click, the
        // menu comes back while it goes out.
        auto menu = openMenu();
        QVERIFY(menu);
        clickAt(menu->topLeft() + entryAt(idleTick ? 0 : 720));
        QVERIFY(gone(kSessionMenuSize));
        if (!signal) {
            menu = openMenu();
            QVERIFY(menu);
        }
        const int from = int(host.records().size());
        const int statsWanted = after > 0 ? after : int(statsLines(host.records()).size()) + 1;
        QVERIFY2(idleTick || statsWanted <= 3, "the menu came back after the statistics");
        const auto reached = [&](const QList<TranscriptRecord> &records) {
            if (idleTick)
                return records.size() > from && records.last().bytes.contains(kIdleMark);
            return statsLines(records).size() >= statsWanted;
        };

        // The request comes right after that line, in the pause that follows it.
        QList<TranscriptRecord> seen;
        QDeadlineTimer deadline(15000);
        for (seen = host.records(); !reached(seen); seen = host.records()) {
            QVERIFY2(!deadline.hasExpired(), "the announcement's line did not come");
            QThread::msleep(5);
        }
        if (signal)
            ::kill(pid_t(zorvel.processId()), SIGTERM);
        else
            clickAt(menu->topLeft() + entryAt(960));
        QVERIFY(zorvel.waitForFinished(30000));
        QCOMPARE(zorvel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(zorvel.exitCode(), 0);

        // It was under way: the line seen is the announcement's, in its order.
        if (idleTick)
            QVERIFY(seen.last().bytes.contains(kIdleMark));
        else
            QCOMPARE(statsLines(seen), QList<int>({1, 2, 3}).mid(0, statsWanted));
        settings::PlainRecord record;
        settings::reloadSettings(record);
        const QString handle = settings::getFromIni(settings::kSection, QStringLiteral("handle"),
                                                    settings::settingsPath());
        const QList<QByteArray> closing{hostlink::toWindows1252(app::unloadLine(record)),
                                        hostlink::toWindows1252(app::unloadIdentityLine(
                                            record, handle, record.caption(Field::StyleName)))};
        const QList<TranscriptRecord> records = host.records();
        QCOMPARE(bytesOf(records.mid(0, seen.size())), bytesOf(seen));
        QCOMPARE(bytesOf(records.mid(seen.size())), closing);
        // The pause between them lasts half a second to a second and a half;
        // the room stamps each line once its exchange is done.
        const qint64 gap = records.last().ms - records.at(seen.size()).ms;
        QVERIFY2(gap >= 500 && gap <= 1600, qPrintable(QString::number(gap)));
        qInfo("%d lines before the request, then the closing lines %lld ms apart", int(seen.size()),
              gap);
    }
};

QTEST_GUILESS_MAIN(TestRealClicks)
#include "tst_realclicks.moc"
