// The window registry: the menus loaded once, the style shop loaded and
// unloaded with its lines, and the program's end, from the unload entry, a
// termination signal or the application quitting.
#include "app/programlines.h"
#include "hostlink/chatlink.h"
#include "platform/termination.h"
#include "styleshop/shoplines.h"
#include "styleshop/styleshop.h"
#include "tests/menuprogram.h"
#include "widgets/entrylabel.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace {
// Runs the event loop as the program does; 99 when it is still running after
// 20 seconds.
int execGuarded() {
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(20000);
    return QApplication::exec();
}

int topLevelCount(const char *name) {
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->objectName() == QLatin1String(name);
    return n;
}
} // namespace

class TestWindowRegistry : public QObject {
    Q_OBJECT

    MenuFixture m_world;

    QList<QByteArray> &lines() { return m_world.room->lines; }

    // The closing lines of the main window with the style at its defaults.
    QList<QByteArray> closingLines(app::MainStrip &mainStrip) {
        return {example::kUnload,
                hostlink::toWindows1252(app::unloadIdentityLine(
                    mainStrip.session(), QStringLiteral("frobble"), QStringLiteral("defàùlt")))};
    }
    QByteArray shopLine(app::MainStrip &mainStrip, bool load) {
        return hostlink::toWindows1252(load ? styleshop::loadLine(mainStrip.session())
                                            : styleshop::unloadLine(mainStrip.session()));
    }

private Q_SLOTS:
    void init() { m_world.setUp(false); }
    void cleanup() { m_world.tearDown(); }

    void menusLoadOnFirstUseOnly() {
        MenuProgram program;
        QCOMPARE(topLevelCount("Form3") + topLevelCount("Form4"), 0);
        menus::OptionsWindow *options = program.windows.optionsWindow();
        QCOMPARE(topLevelCount("Form4"), 1);
        QCOMPARE(topLevelCount("Form3"), 0);
        menus::SessionMenu *menu = program.windows.sessionMenu();
        QCOMPARE(program.windows.optionsWindow(), options); // the menu's load found it loaded
        QCOMPARE(program.windows.sessionMenu(), menu);
        QCOMPARE(topLevelCount("Form3") + topLevelCount("Form4"), 2);
        QVERIFY(!menu->isVisible() && !options->isVisible());
        QVERIFY(menu->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void shopLoadsWithItsLineAndUnloadsWithItsLine() {
        MenuProgram program;
        lines().clear();
        QVERIFY(!program.windows.isStyleShopLoaded());
        program.windows.unloadStyleShop(); // not loaded: nothing
        QVERIFY(lines().isEmpty());

        program.windows.showStyleShop();
        QVERIFY(program.windows.isStyleShopLoaded());
        QPointer<QWidget> shop = QApplication::topLevelWidgets().last();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Form2"))
                shop = w;
        QVERIFY(shop);
        QVERIFY(shop->isVisible());
        QVERIFY(shop->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        program.windows.showStyleShop(); // shown again: no second load
        QCOMPARE(lines(), QList<QByteArray>{shopLine(program.mainStrip, true)});

        program.windows.unloadStyleShop();
        QVERIFY(!program.windows.isStyleShopLoaded());
        QCOMPARE(lines(), QList<QByteArray>({shopLine(program.mainStrip, true),
                                             shopLine(program.mainStrip, false)}));
        QVERIFY(!shop || !shop->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shop); // destroyed

        program.windows.showStyleShop(); // a fresh load
        QCOMPARE(lines().size(), 3);
        QCOMPARE(lines().last(), shopLine(program.mainStrip, true));
    }

    void shopTitleClickUnloadsThroughTheRegistry() {
        MenuProgram program;
        program.mainStrip.hide();
        program.windows.showStyleShop();
        lines().clear();
        QPointer<styleshop::StyleShop> shop;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *s = qobject_cast<styleshop::StyleShop *>(w))
                shop = s;
        QVERIFY(shop);
        QTest::mouseClick(shop->findChild<widgets::EntryLabel *>(QStringLiteral("Label3")),
                          Qt::LeftButton);
        QVERIFY(!program.windows.isStyleShopLoaded());
        QVERIFY(program.mainStrip.isVisible());
        QCOMPARE(lines(), QList<QByteArray>{shopLine(program.mainStrip, false)});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shop);
    }

    void unloadAskedFromOutsideLoadsTheMenuFirst() {
        MenuProgram program;
        program.mainStrip.show();
        lines().clear();
        program.windows.shutdown().unloadFromOutside();
        QCOMPARE(program.ends, 1);
        QCOMPARE(lines(), closingLines(program.mainStrip));
        program.windows.shutdown().unloadFromOutside(); // once only
        QCOMPARE(program.ends, 1);
        QCOMPARE(lines().size(), 2);
    }

    void terminationSignalUnloads_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("shopOpen");
        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGINT, shop open") << int(SIGINT) << true;
    }
    void terminationSignalUnloads() {
        QFETCH(int, signal);
        QFETCH(bool, shopOpen);
        MenuProgram program;
        program.windows.shutdown().watchOutsideEnd();
        program.mainStrip.show();
        program.windows.sessionMenu()->goIdle(); // idle mode on: no disengaged line follows
        if (shopOpen)
            program.windows.showStyleShop();
        lines().clear();
        // A second signal while the closing lines go out.
        m_world.room->onPost = [signal](const QByteArray &) { std::raise(signal); };

        std::raise(signal);
        QTRY_COMPARE(program.ends, 1);
        QTest::qWait(50); // the second signal's wake-up, handled as nothing
        QCOMPARE(program.ends, 1);
        QVERIFY(!program.controller.idleTicker().isActive());
        QVERIFY(!program.controller.minuteCounter().isActive());
        // The shop unloads too, but nothing follows the closing lines.
        QVERIFY(!program.windows.isStyleShopLoaded());
        QCOMPARE(lines(), closingLines(program.mainStrip));
    }

    void signalHeldUntilTheRegistryWatches() {
        MenuProgram program;
        program.mainStrip.show();
        lines().clear();
        platform::holdTermination();
        std::raise(SIGTERM); // as if it came while the main window loaded
        QTest::qWait(50);
        QCOMPARE(program.ends, 0);
        QVERIFY(lines().isEmpty());

        program.windows.shutdown().watchOutsideEnd();
        QTRY_COMPARE(program.ends, 1);
        QCOMPARE(lines(), closingLines(program.mainStrip));
    }

    void unloadEntryEndsTheEventLoop_data() {
        QTest::addColumn<bool>("shopOpen");
        QTest::newRow("main window shown") << false;
        // Nothing visible is closed then: only the command's own end stops the loop.
        QTest::newRow("shop open, main window hidden") << true;
    }
    void unloadEntryEndsTheEventLoop() {
        QFETCH(bool, shopOpen);
        MenuProgram program(true);
        program.mainStrip.show();
        if (shopOpen)
            program.windows.optionsWindow()->openStyleShop();
        QVERIFY(program.mainStrip.isVisible() != shopOpen);
        lines().clear();
        QTimer::singleShot(0, program.windows.sessionMenu()->unloadEntry, [&program] {
            QTest::mouseClick(program.windows.sessionMenu()->unloadEntry, Qt::LeftButton);
        });
        QCOMPARE(execGuarded(), 0);
        QCOMPARE(lines(), closingLines(program.mainStrip)); // the shop's line would follow them
        QVERIFY(!program.windows.isStyleShopLoaded());
    }

    void applicationQuittingUnloadsOnce_data() {
        QTest::addColumn<bool>("shopOpen");
        QTest::newRow("shop closed") << false;
        QTest::newRow("shop open") << true;
    }
    void applicationQuittingUnloadsOnce() {
        // A quit from elsewhere (the session manager's) closes the visible
        // windows, then the unload command finishes the work: the closing
        // lines once, and nothing after them, the open shop's line neither.
        QFETCH(bool, shopOpen);
        MenuProgram program;
        program.windows.shutdown().watchOutsideEnd();
        program.mainStrip.show();
        if (shopOpen)
            program.windows.showStyleShop();
        lines().clear();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCOMPARE(execGuarded(), 0);
        QCOMPARE(program.ends, 1);
        QVERIFY(!program.windows.isStyleShopLoaded());
        QCOMPARE(lines(), closingLines(program.mainStrip));
    }
};

QTEST_MAIN(TestWindowRegistry)
#include "tst_windowregistry.moc"
