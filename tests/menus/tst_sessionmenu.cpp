// The session menu in-process: its look, idle on and off with the idle
// clock, the double click on idle on, the idle reason, the statistics, the
// unload command and cancel, against a recording room, with the menus' test
// host in the program's place.
#include "hostlink/chatlink.h"
#include "menus/menulines.h"
#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"
#include "tests/menus/testmenuhost.h"
#include "tests/menuworld.h"
#include "widgets/entrylabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

using menus::SessionMenu;
using widgets::EntryLabel;

namespace {
QByteArray settingLine(const QByteArray &key) {
    for (const QByteArray &line : settingsBytes().split('\n')) {
        if (line.startsWith(QByteArray(key + '=')))
            return line;
    }
    return {};
}
} // namespace

class TestSessionMenu : public QObject {
    Q_OBJECT

    MenuWorld<TestMenuHost> m_world;
    StepClock &m_clock = m_world.clock;

    // The room's lines since the host was made.
    QList<QByteArray> &lines() { return m_world.room->lines; }
    TestMenuHost &host() { return *m_world.program; }
    SessionMenu *menu() { return host().sessionMenu(); }
    session::SessionModel &session() { return host().session(); }

private Q_SLOTS:
    void init() { m_world.setUp(); }
    void cleanup() { m_world.tearDown(); }

    void lookOfTheMenu_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("top"); // twips
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("ink");
        const QColor rust(192, 64, 0), red(192, 0, 0);
        QTest::newRow("idle on") << "Label1"
                                 << "   idle on" << 0 << true << rust;
        QTest::newRow("idle off") << "Label3"
                                  << " idle off" << 240 << false << red;
        QTest::newRow("edit msg") << "Label2"
                                  << " edit msg" << 480 << true << rust;
        QTest::newRow("stats") << "Label5"
                               << "    stats" << 720 << true << rust;
        QTest::newRow("unload") << "Label6"
                                << "   unload" << 960 << true << rust;
        QTest::newRow("cancel") << "Label7"
                                << "   cancel" << 1200 << true << rust;
    }
    void lookOfTheMenu() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(int, top);
        QFETCH(bool, enabled);
        QFETCH(QColor, ink);
        SessionMenu *form = menu();
        QCOMPARE(form->objectName(), QStringLiteral("Form3"));
        QCOMPARE(form->size(), QSize(495 / 15, 1395 / 15));
        QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!form->isVisible());

        auto *entry = form->findChild<EntryLabel *>(name);
        QVERIFY(entry);
        QCOMPARE(entry->text(), caption);
        QCOMPARE(entry->geometry(), QRect(0, top / 15, 495 / 15, 255 / 15));
        QCOMPARE(entry->isEnabled(), enabled);
        QCOMPARE(entry->font().family(), QStringLiteral("Arial Narrow"));
        QCOMPARE(entry->font().pointSizeF(), 6.75);
        QCOMPARE(entry->palette().color(QPalette::Active, QPalette::WindowText), ink);
        QVERIFY(lines().isEmpty());
    }

    void loadingTheMenuLoadsTheOptionsHidden() {
        const auto optionsWindows = [] {
            int n = 0;
            for (QWidget *w : QApplication::topLevelWidgets())
                n += w->objectName() == QLatin1String("Form4");
            return n;
        };
        QCOMPARE(optionsWindows(), 0);
        menu();
        QCOMPARE(optionsWindows(), 1);
        menus::OptionsWindow *options = host().optionsWindow();
        QVERIFY(!options->isVisible());
        QVERIFY(options->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(host().sessionMenu(), menu()); // loaded once
    }

    void idleOnEngages() {
        menu()->show();
        click(menu()->idleOnEntry);
        QVERIFY(!menu()->isVisible());
        QVERIFY(host().idleTicker()->isActive());
        QCOMPARE(host().idleTicker()->interval(), 59000);
        QCOMPARE(lines(), QList<QByteArray>{example::kEngaged});
        QVERIFY(!menu()->idleOnEntry->isEnabled());
        QVERIFY(menu()->idleOffEntry->isEnabled());

        // Disabled now: a second click is not a second idle on.
        click(menu()->idleOnEntry);
        QCOMPARE(lines().size(), 1);
    }

    void idleOnThenIdleOffByClicks() {
        setSetting("reason", QStringLiteral("brb"));
        click(menu()->idleOnEntry);
        session().setMinutes(QStringLiteral("2")); // as two idle ticks leave the clock
        menu()->show();
        click(menu()->idleOffEntry);

        QVERIFY(!menu()->isVisible());
        QVERIFY(!host().idleTicker()->isActive());
        QCOMPARE(setting("lastidle"), QStringLiteral("0:2"));
        QCOMPARE(session().hours(), QStringLiteral("0"));
        QCOMPARE(session().minutes(), QStringLiteral("00"));
        QVERIFY(menu()->idleOnEntry->isEnabled());
        QVERIFY(!menu()->idleOffEntry->isEnabled());
        QCOMPARE(lines(), (QList<QByteArray>{example::kEngaged, example::disengaged()}));

        click(menu()->idleOffEntry); // disabled again
        QCOMPARE(lines().size(), 2);
    }

    void idleOffKeepsTheClock_data() {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("mins");
        QTest::addColumn<QString>("lastidle");
        QTest::newRow("1:7") << "1"
                             << "7"
                             << "1:7";
        QTest::newRow("no tick yet") << "0"
                                     << "00"
                                     << "0:00";
        QTest::newRow("long idle") << "12"
                                   << "58"
                                   << "12:58";
    }
    void idleOffKeepsTheClock() {
        QFETCH(QString, hours);
        QFETCH(QString, mins);
        QFETCH(QString, lastidle);
        menu()->goIdle();
        session().setHours(hours);
        session().setMinutes(mins);
        menu()->comeBack();
        QCOMPARE(setting("lastidle"), lastidle);
        QCOMPARE(session().hours(), QStringLiteral("0"));
        QCOMPARE(session().minutes(), QStringLiteral("00"));
        QCOMPARE(lines().last(), example::disengaged());
    }

    // Idle on marks the user away with the stored reason (a short default
    // when there is none, as an empty away text would mean back), idle off
    // marks them back; the lines posted are the same as ever.
    void idleOnAndOffSetAway_data() {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QByteArray>("away");
        QTest::newRow("stored reason")
            << QStringLiteral("gone fishing") << QByteArray("gone fishing");
        QTest::newRow("no reason") << QString() << QByteArray("away");
        QTest::newRow("accented") << QStringLiteral("caf\u00e9 \u20ac")
                                  << QByteArray("caf\xE9 \x80");
    }
    void idleOnAndOffSetAway() {
        QFETCH(QString, reason);
        QFETCH(QByteArray, away);
        setSetting("reason", reason);
        menu()->goIdle();
        QCOMPARE(m_world.room->awayTexts, QList<QByteArray>{away});
        QCOMPARE(lines(), QList<QByteArray>{example::kEngaged});
        menu()->comeBack();
        QCOMPARE(m_world.room->awayTexts, (QList<QByteArray>{away, QByteArray()}));
        QCOMPARE(lines().last(), example::disengaged());
    }

    void doubleClickOnIdleOn_data() {
        QTest::addColumn<QList<QEvent::Type>>("events");
        using E = QEvent;
        // How a double click reaches a widget: the second press becomes the
        // double click, or comes as a press followed by it.
        QTest::newRow("press release dblclick release")
            << QList<E::Type>{E::MouseButtonPress, E::MouseButtonRelease, E::MouseButtonDblClick,
                              E::MouseButtonRelease};
        QTest::newRow("press release press dblclick release")
            << QList<E::Type>{E::MouseButtonPress, E::MouseButtonRelease, E::MouseButtonPress,
                              E::MouseButtonDblClick, E::MouseButtonRelease};
    }
    void doubleClickOnIdleOn() {
        QFETCH(QList<QEvent::Type>, events);
        menu()->show();
        for (QEvent::Type type : events)
            sendMouse(menu()->idleOnEntry, type);

        // The click posted the engaged line; the double click only stopped the timer.
        QCOMPARE(lines(), QList<QByteArray>{example::kEngaged});
        QVERIFY(!host().idleTicker()->isActive());
        QVERIFY(!menu()->idleOnEntry->isEnabled());
        QVERIFY(menu()->idleOffEntry->isEnabled());

        session().setMinutes(QStringLiteral("3"));
        click(menu()->idleOffEntry);
        QCOMPARE(lines().last(), example::disengaged());
        QCOMPARE(setting("lastidle"), QStringLiteral("0:3"));
        QCOMPARE(session().minutes(), QStringLiteral("00"));
        QVERIFY(menu()->idleOnEntry->isEnabled());
    }

    void doubleClickOnDisabledIdleOnDoesNothing() {
        menu()->goIdle(); // idle mode on since earlier
        sendMouse(menu()->idleOnEntry, QEvent::MouseButtonPress);
        sendMouse(menu()->idleOnEntry, QEvent::MouseButtonRelease);
        sendMouse(menu()->idleOnEntry, QEvent::MouseButtonDblClick);
        sendMouse(menu()->idleOnEntry, QEvent::MouseButtonRelease);
        QVERIFY(host().idleTicker()->isActive());
        QCOMPARE(lines().size(), 1);
    }

    void editMsgWritesTheAnswer_data() {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("fileLine"); // the raw line of the settings file
        QTest::addColumn<QString>("readBack");
        QTest::newRow("plain") << true << "brb" << QByteArray("REASON=brb") << "brb";
        QTest::newRow("markup") << true << "<b>lunch</b> " << QByteArray("REASON=<b>lunch</b> ")
                                << "<b>lunch</b>";
        // The answer reaches the writer unchanged; the profile format itself
        // drops the leading blanks on writing and the reader trims the rest.
        QTest::newRow("blanks") << true << "  gone fishing  " << QByteArray("REASON=gone fishing  ")
                                << "gone fishing";
        QTest::newRow("accents") << true << "àfk"
                                 << QByteArray("REASON=\xe0"
                                               "fk")
                                 << "àfk";
        QTest::newRow("cancelled") << false << QString() << QByteArray("REASON=") << QString();
    }
    void editMsgWritesTheAnswer() {
        QFETCH(bool, answered);
        QFETCH(QString, answer);
        QFETCH(QByteArray, fileLine);
        QFETCH(QString, readBack);
        setSetting("reason", QStringLiteral("old reason"));
        if (answered)
            menus::dialogs::setNextAnswer(answer);
        bool hiddenWhileAsked = false;
        menus::dialogs::setWhileShown(
            [&](const menus::dialogs::Shown &) { hiddenWhileAsked = !menu()->isVisible(); });
        menu()->show();
        click(menu()->editReasonEntry);

        const auto shown = menus::dialogs::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.at(0).prompt);
        QCOMPARE(shown.at(0).text, QStringLiteral("What is your Reason for being Idle?"));
        QCOMPARE(shown.at(0).title, QString());
        QVERIFY(hiddenWhileAsked);
        QCOMPARE(settingLine("REASON").chopped(1), fileLine); // less the CR
        QCOMPARE(setting("reason"), readBack);
        QVERIFY(lines().isEmpty());
    }

    void statsReferenceLines() {
        session().setPreviousLoads(QStringLiteral("3"));
        session().setMinutesUsed(QStringLiteral("42"));
        setSetting("lastidle", QStringLiteral("0:12"));
        host().optionsWindow()->show();
        menu()->show();
        click(menu()->statisticsEntry);
        QVERIFY(!menu()->isVisible());
        QVERIFY(!host().optionsWindow()->isVisible());
        QCOMPARE(lines(), example::kStats);
        QCOMPARE(settingsBytes().count("\r\n"), 9); // nothing written: eight lines and lastidle
    }

    void statsOnAFirstRun() {
        QCOMPARE(session().previousLoads(), QStringLiteral("Label4"));
        menu()->showStatistics();
        QCOMPARE(lines().size(), 4);
        QVERIFY2(lines().at(0).contains("l\xf8\xe0"
                                        "ds: <font color=#009900>Label4<font color=#00000C>.."),
                 lines().at(0).constData());
        // No idle period ended yet: nothing between the colour and the blank.
        QVERIFY(lines().at(3).contains("idl\xe9: <font color=#009900> -:- "));
    }

    void statsReloadsTheStyleFirst() {
        setSetting("pacolor", QStringLiteral("123456"));
        setSetting("preset", QStringLiteral("nùvé"));
        session().setCaption(settings::Field::FontColour, QStringLiteral("stale"));
        menu()->showStatistics();
        QCOMPARE(session().caption(settings::Field::AsciiColour), QStringLiteral("123456"));
        QCOMPARE(session().caption(settings::Field::FontColour), QStringLiteral("00000C"));
        QCOMPARE(hostlink::fromWindows1252(lines().at(1)), menus::statsStyleLine(session()));
        QVERIFY(lines().at(1).contains("<font color=#123456> n\xf9v\xe9 -:- "));
    }

    void statsPausesBeforeEachLine() {
        m_clock.setNow(1000.0);
        QList<double> postedAt;
        m_world.room->onPost = [&](const QByteArray &) { postedAt << m_clock.now(); };
        menu()->showStatistics();
        QCOMPARE(postedAt.size(), 4);
        // pause 0 from a whole second returns at once; then three pauses of 1.
        QVERIFY2(postedAt.at(0) < 1000.5, qPrintable(QString::number(postedAt.at(0))));
        for (int i = 1; i < 4; ++i) {
            const double gap = postedAt.at(i) - postedAt.at(i - 1);
            QVERIFY2(gap >= 0.5 && gap <= 1.6, qPrintable(QString::number(gap)));
        }
    }

    void statsLinesShowAChangeMadeBetweenThem() {
        // The options window changes the font colour while the first pause runs.
        menus::dialogs::setNextAnswer(QStringLiteral("ABCDEF"));
        QTimer::singleShot(0, host().optionsWindow(), &menus::OptionsWindow::editFontColour);
        menu()->showStatistics();
        QCOMPARE(lines().size(), 4);
        QVERIFY2(lines().at(0).contains("<font color=#00000C>l\xf8\xe0"
                                        "ds:"),
                 lines().at(0).constData());
        QVERIFY(!lines().at(0).contains("ABCDEF"));
        QVERIFY2(lines().at(1).contains("<font color=#009900> c\xf9st\xf8m -:- <font "
                                        "color=#ABCDEF>styl\xe9s:"),
                 lines().at(1).constData());
        QVERIFY2(lines().at(2).contains(">ABCDEF<font color=#ABCDEF>.."),
                 lines().at(2).constData());
        QVERIFY2(lines().at(3).contains("<font color=#ABCDEF>mi\xf1s"), lines().at(3).constData());
    }

    void cancelHidesAndNothingElse() {
        const QByteArray before = settingsBytes();
        menu()->show();
        click(menu()->cancelEntry);
        QVERIFY(!menu()->isVisible());
        QVERIFY(lines().isEmpty());
        QVERIFY(menus::dialogs::shown().isEmpty());
        QCOMPARE(settingsBytes(), before);
        QVERIFY(!host().idleTicker()->isActive());
        QVERIFY(host().minuteCounter()->isActive());
    }

    // The unload entry asks the program to end, once a click, and posts
    // nothing itself: the closing lines are the program's.
    void unloadEntryAsksTheProgramToEnd() {
        menu()->goIdle();
        lines().clear();
        QPointer<SessionMenu> menuWindow = menu();
        menu()->show();
        click(menu()->unloadEntry);
        QCOMPARE(host().unloadRequests(), 1);
        QVERIFY(lines().isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!menuWindow); // gone with the program's end, and untouched after it
    }

    void menuSlideEdges_data() {
        QTest::addColumn<int>("startTop");
        QTest::addColumn<int>("endTop");
        // Stops once the top is more than one width (495) above the screen.
        QTest::newRow("design place") << 3495 << 3495 - 14 * 300;
        QTest::newRow("just above the bound") << -195 << -495 - 300;
        QTest::newRow("already past: one step") << -1005 << -1305;
    }
    void menuSlideEdges() {
        QFETCH(int, startTop);
        QFETCH(int, endTop);
        menu()->setTopTwips(startTop);
        menu()->slideAway();
        QCOMPARE(menu()->topTwips(), endTop);
    }
};

QTEST_MAIN(TestSessionMenu)
#include "tst_sessionmenu.moc"
