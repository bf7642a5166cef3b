// The menus' commands inside the whole program, where what they do meets the
// main strip's idle ticks and the program's end: idle on, ticks and idle off,
// the away text across ticks, the unload command's closing lines and slides,
// and an end while a prompt is up or between two prompts.
#include "app/programlines.h"
#include "hostlink/chatlink.h"
#include "tests/menuprogram.h"
#include "widgets/entrylabel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QTimer>

using menus::SessionMenu;

class TestMenusInProgram : public QObject {
    Q_OBJECT

    MenuFixture m_world;
    StepClock &m_clock = m_world.clock;

    QList<QByteArray> &lines() { return m_world.room->lines; }
    SessionMenu *menu() { return m_world.program->sessionMenu(); }
    menus::OptionsWindow *options() { return m_world.program->optionsWindow(); }
    app::MainStrip &mainStrip() { return m_world.program->mainStrip; }
    control::SessionController &controller() { return m_world.program->controller; }

private Q_SLOTS:
    void init() { m_world.setUp(); }
    void cleanup() { m_world.tearDown(); }

    void idleOnTwoTicksIdleOff() {
        setSetting("reason", QStringLiteral("brb"));
        click(menu()->idleOnEntry);
        controller().tick();
        controller().tick();
        QCOMPARE(mainStrip().minutesLabel->text(), QStringLiteral("2"));
        menu()->show();
        click(menu()->idleOffEntry);

        QVERIFY(!menu()->isVisible());
        QVERIFY(!controller().idleTicker().isActive());
        QCOMPARE(setting("lastidle"), QStringLiteral("0:2"));
        QCOMPARE(mainStrip().hoursLabel->text(), QStringLiteral("0"));
        QCOMPARE(mainStrip().minutesLabel->text(), QStringLiteral("00"));
        QVERIFY(menu()->idleOnEntry->isEnabled());
        QVERIFY(!menu()->idleOffEntry->isEnabled());
        // Engaged, two ticks of two lines each, disengaged.
        QCOMPARE(lines().size(), 6);
        QCOMPARE(lines().first(), example::kEngaged);
        QCOMPARE(lines().last(), example::disengaged());

        click(menu()->idleOffEntry); // disabled again
        QCOMPARE(lines().size(), 6);
    }

    // Idle ticks post their lines and leave the away text alone, between
    // the idle on that marks the user away and the idle off that marks them back.
    void idleTicksLeaveTheAwayTextAlone() {
        setSetting("reason", QStringLiteral("gone fishing"));
        menu()->goIdle();
        QCOMPARE(m_world.room->awayTexts, QList<QByteArray>{"gone fishing"});
        for (int tick = 0; tick < 3; ++tick)
            controller().tick();
        QCOMPARE(lines().size(), 1 + 3 * 2);
        QCOMPARE(m_world.room->awayTexts.size(), 1);
        menu()->comeBack();
        QCOMPARE(m_world.room->awayTexts, (QList<QByteArray>{"gone fishing", QByteArray()}));
        QCOMPARE(lines().last(), example::disengaged());
    }

    void unloadWhileIdle_data() {
        QTest::addColumn<bool>("shopOpen");
        QTest::newRow("shop closed") << false;
        QTest::newRow("shop open") << true;
    }
    void unloadWhileIdle() {
        QFETCH(bool, shopOpen);
        mainStrip().show();
        menu()->goIdle();
        if (shopOpen)
            m_world.program->windows.showStyleShop();
        lines().clear();

        QPointer<SessionMenu> menuWindow = menu();
        QPointer<menus::OptionsWindow> options = m_world.program->optionsWindow();
        QList<int> menuTopAtPosts, optionsTopAtPosts;
        QList<qsizetype> awayTextsAtPosts;
        m_world.room->onPost = [&](const QByteArray &) {
            awayTextsAtPosts << m_world.room->awayTexts.size();
            menuTopAtPosts << (menuWindow ? menuWindow->topTwips() : 0);
            optionsTopAtPosts << (options ? options->topTwips() : 0);
            // A second request while ending changes nothing.
            m_world.program->windows.shutdown().unloadFromOutside();
        };
        click(menu()->unloadEntry);

        QVERIFY(!controller().idleTicker().isActive());
        QVERIFY(!controller().minuteCounter().isActive());
        QVERIFY(!mainStrip().isVisible());
        QVERIFY(!m_world.program->windows.isStyleShopLoaded());
        QCOMPARE(m_world.program->ends, 1);

        QList<QByteArray> expected{
            example::kUnload,
            hostlink::toWindows1252(app::unloadIdentityLine(
                mainStrip().session(), QStringLiteral("frobble"), QStringLiteral("defàùlt")))};
        // The shop unloads after the main window, its line with it: nothing
        // follows the closing lines.
        QCOMPARE(lines(), expected);
        // The away period ends (an empty SetAway) after the closing lines,
        // so nobody is answered as if the user were still away.
        QCOMPARE(m_world.room->awayTexts.size(), 2);
        QCOMPARE(m_world.room->awayTexts.last(), QByteArray());
        QCOMPARE(awayTextsAtPosts, (QList<qsizetype>{1, 1}));
        // The menu had slid up past its width and the options window down
        // past 7200 before the first closing line.
        // Read once: a guarded pointer read again may be null to the compiler.
        const QWidget *const menuNow = menuWindow.data();
        const QWidget *const optionsNow = options.data();
        QVERIFY(menuNow && optionsNow);
        QVERIFY2(menuTopAtPosts.at(0) < -495, qPrintable(QString::number(menuTopAtPosts.at(0))));
        QVERIFY2(optionsTopAtPosts.at(0) > 7200,
                 qPrintable(QString::number(optionsTopAtPosts.at(0))));
        QVERIFY(!menuNow->isVisible() && !optionsNow->isVisible());

        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!menuWindow);
        QVERIFY(!options);
    }

    void unloadWithTheMainWindowHidden() {
        // The styles command hides the main window; its closing lines come all the same.
        mainStrip().show();
        m_world.program->optionsWindow()->openStyleShop();
        QVERIFY(!mainStrip().isVisible());
        lines().clear();
        menu()->unload();
        QCOMPARE(lines().size(), 2); // the shop's unload line would follow the goodbye
        QCOMPARE(lines().at(0), example::kUnload);
        QCOMPARE(m_world.program->ends, 1);
    }

    // Told to end while one of its prompts is up, a command writes nothing
    // and posts nothing: the unload closed the prompt, nobody answered it.
    void endingDuringAPromptWritesNothing_data() { addEndInPromptRows(); }
    void endingDuringAPromptWritesNothing() {
        QFETCH(bool, sessionMenu);
        QFETCH(QString, entry);
        QFETCH(int, endInPrompt);
        MenuProgram &program = *m_world.program;
        QWidget *window = sessionMenu ? static_cast<QWidget *>(program.sessionMenu()) : options();
        const QByteArray before = settingsBytes();
        const int prompts = clickEndingInPrompt(window, entry, endInPrompt, [&program] {
            program.windows.shutdown().unloadFromOutside();
        });

        QCOMPARE(prompts, endInPrompt);
        QCOMPARE(program.ends, 1);
        QCOMPARE(settingsBytes(), before);
        // Only the closing lines: no handle line after them.
        QCOMPARE(lines().size(), 2);
        QCOMPARE(lines().at(0), example::kUnload);
    }

    void editAsciiPausesBetweenItsPrompts() {
        // From a fraction above one half, pause 0 runs the pending events
        // until the next whole second: an idle tick queued while the first
        // prompt is up runs between the prompts, and changes nothing the
        // command then writes.
        m_clock.setNow(1000.6);
        const QStringList order = editAsciiQueuing(options(), &mainStrip(), QStringLiteral("tick"),
                                                   [this] { controller().tick(); });
        QCOMPARE(order, QStringList({QStringLiteral("FRONT"), QStringLiteral("tick"),
                                     QStringLiteral("BACK")}));
        QCOMPARE(mainStrip().frontAsciiLabel->text(), QStringLiteral("F"));
        QCOMPARE(mainStrip().styleNameLabel->text(), QStringLiteral("cùstøm"));
        QCOMPARE(setting("pfascii"), QStringLiteral("F"));
        QCOMPARE(setting("pmascii"), QStringLiteral("·"));
        QCOMPARE(lines().size(), 2); // the tick's own
    }
};

QTEST_MAIN(TestMenusInProgram)
#include "tst_menusinprogram.moc"
