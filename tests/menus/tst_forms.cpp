// The window registry: the menus loaded once, the style shop loaded and
// unloaded with its lines, and the program's end, from the unload entry, a
// termination signal or the application quitting.
#include "chatlink.h"
#include "controls.h"
#include "entrylabel.h"
#include "form1lines.h"
#include "form2.h"
#include "menuprogram.h"
#include "outsideend.h"
#include "shoplines.h"
#include "termination.h"

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

class TestForms : public QObject {
    Q_OBJECT

    MenuFixture m_world;

    QList<QByteArray> &lines() { return m_world.room->lines; }

    // The closing lines of the main window with the style at its defaults.
    QList<QByteArray> closingLines(app::Form1 &form1) {
        return {example::kUnload,
                hostlink::toWindows1252(app::identityLine(form1.record(), QStringLiteral("frobble"),
                                                          QStringLiteral("defàùlt")))};
    }
    QByteArray shopLine(app::Form1 &form1, bool load) {
        return hostlink::toWindows1252(load ? styleshop::loadLine(form1.record())
                                            : styleshop::unloadLine(form1.record()));
    }

private Q_SLOTS:
    void init() { m_world.setUp(false); }
    void cleanup() { m_world.tearDown(); }

    void menusLoadOnFirstUseOnly() {
        MenuProgram program;
        QCOMPARE(topLevelCount("Form3") + topLevelCount("Form4"), 0);
        menus::Form4 *options = program.forms.form4();
        QCOMPARE(topLevelCount("Form4"), 1);
        QCOMPARE(topLevelCount("Form3"), 0);
        menus::Form3 *menu = program.forms.form3();
        QCOMPARE(program.forms.form4(), options); // the menu's load found it loaded
        QCOMPARE(program.forms.form3(), menu);
        QCOMPARE(topLevelCount("Form3") + topLevelCount("Form4"), 2);
        QVERIFY(!menu->isVisible() && !options->isVisible());
        QVERIFY(menu->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void shopLoadsWithItsLineAndUnloadsWithItsLine() {
        MenuProgram program;
        lines().clear();
        QVERIFY(!program.forms.isForm2Loaded());
        program.forms.unloadForm2(); // not loaded: nothing
        QVERIFY(lines().isEmpty());

        program.forms.showForm2();
        QVERIFY(program.forms.isForm2Loaded());
        QPointer<QWidget> shop = QApplication::topLevelWidgets().last();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Form2"))
                shop = w;
        QVERIFY(shop && shop->isVisible());
        QVERIFY(shop->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        program.forms.showForm2(); // shown again: no second load
        QCOMPARE(lines(), QList<QByteArray>{shopLine(program.form1, true)});

        program.forms.unloadForm2();
        QVERIFY(!program.forms.isForm2Loaded());
        QCOMPARE(lines(), QList<QByteArray>(
                              {shopLine(program.form1, true), shopLine(program.form1, false)}));
        QVERIFY(!shop->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shop); // destroyed

        program.forms.showForm2(); // a fresh load
        QCOMPARE(lines().size(), 3);
        QCOMPARE(lines().last(), shopLine(program.form1, true));
    }

    void shopTitleClickUnloadsThroughTheRegistry() {
        MenuProgram program;
        program.form1.hide();
        program.forms.showForm2();
        lines().clear();
        QPointer<styleshop::Form2> shop;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *s = qobject_cast<styleshop::Form2 *>(w))
                shop = s;
        QVERIFY(shop);
        QTest::mouseClick(shop->findChild<styleshop::EntryLabel *>("Label3"), Qt::LeftButton);
        QVERIFY(!program.forms.isForm2Loaded());
        QVERIFY(program.form1.isVisible());
        QCOMPARE(lines(), QList<QByteArray>{shopLine(program.form1, false)});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!shop);
    }

    void unloadAskedFromOutsideLoadsTheMenuFirst() {
        MenuProgram program;
        program.form1.show();
        lines().clear();
        program.forms.unloadProgram();
        QCOMPARE(program.ends, 1);
        QCOMPARE(lines(), closingLines(program.form1));
        program.forms.unloadProgram(); // once only
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
        menus::unloadOnOutsideEnd(program.forms);
        program.form1.show();
        program.forms.form3()->Label1_Click(); // idle mode on: no disengaged line follows
        if (shopOpen)
            program.forms.showForm2();
        lines().clear();
        // A second signal while the closing lines go out.
        m_world.room->onPost = [signal](const QByteArray &) { std::raise(signal); };

        std::raise(signal);
        QTRY_COMPARE(program.ends, 1);
        QTest::qWait(50); // the second signal's wake-up, handled as nothing
        QCOMPARE(program.ends, 1);
        QVERIFY(!program.form1.Timer1->isActive());
        QVERIFY(!program.form1.MiUs->isActive());
        // The shop unloads too, but nothing follows the closing lines.
        QVERIFY(!program.forms.isForm2Loaded());
        QCOMPARE(lines(), closingLines(program.form1));
    }

    void signalHeldUntilTheRegistryWatches() {
        MenuProgram program;
        program.form1.show();
        lines().clear();
        platform::holdTermination();
        std::raise(SIGTERM); // as if it came while the main window loaded
        QTest::qWait(50);
        QCOMPARE(program.ends, 0);
        QVERIFY(lines().isEmpty());

        menus::unloadOnOutsideEnd(program.forms);
        QTRY_COMPARE(program.ends, 1);
        QCOMPARE(lines(), closingLines(program.form1));
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
        program.form1.show();
        if (shopOpen)
            program.forms.form4()->Label2_Click();
        QVERIFY(program.form1.isVisible() != shopOpen);
        lines().clear();
        QTimer::singleShot(0, program.forms.form3()->Label6, [&program] {
            QTest::mouseClick(program.forms.form3()->Label6, Qt::LeftButton);
        });
        QCOMPARE(execGuarded(), 0);
        QCOMPARE(lines(), closingLines(program.form1)); // the shop's line would follow them
        QVERIFY(!program.forms.isForm2Loaded());
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
        menus::unloadOnOutsideEnd(program.forms);
        program.form1.show();
        if (shopOpen)
            program.forms.showForm2();
        lines().clear();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        QCOMPARE(execGuarded(), 0);
        QCOMPARE(program.ends, 1);
        QVERIFY(!program.forms.isForm2Loaded());
        QCOMPARE(lines(), closingLines(program.form1));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
