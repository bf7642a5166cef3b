// The main window's mouse handling in-process: the menu button, the clock
// and the bare surface, with the menus and the style shop beside it.
#include "hostlink/pause.h"
#include "styleshop/styleshop.h"
#include "tests/menuprogram.h"
#include "tests/recordingroom.h"
#include "tests/testenv.h"

#include <QCursor>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

namespace {
// A point of the bare surface: below the minutes, above the grey strip.
const QPoint kSurface(39, 12);

// Where a control of the main window is pressed: a point of it that no
// other control covers (never (0, 0), which the test library takes for
// "the middle of the window").
QPoint pointOf(app::MainStrip &form, QWidget *control) {
    const QRect r = control->geometry().intersected(form.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (form.childAt(x, y) == control && QPoint(x, y) != QPoint(0, 0))
                return {x, y};
    return {-1, -1};
}
} // namespace

class TestMainStripMouse : public QObject {
    Q_OBJECT

    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<RecordingRoom> m_room;
    std::unique_ptr<StepClock> m_clock;
    std::unique_ptr<MenuProgram> m_program;

    app::MainStrip &mainStrip() { return m_program->mainStrip; }
    QWindow *window() { return mainStrip().windowHandle(); }
    QPoint besideMainStrip() const { return m_program->mainStrip.pos() + QPoint(720 / 15, 0); }

    void press(QWidget *control, Qt::MouseButton button) {
        const QPoint at = control ? pointOf(mainStrip(), control) : kSurface;
        QVERIFY(mainStrip().rect().contains(at));
        QCursor::setPos(window()->mapToGlobal(at));
        // A press that drags returns at the release: send it from inside.
        QTimer::singleShot(0, window(),
                           [this, at, button] { QTest::mouseRelease(window(), button, {}, at); });
        QTest::mousePress(window(), button, {}, at);
        QCoreApplication::processEvents();
    }
    void pressOnly(QWidget *control, Qt::MouseButton button) {
        QTest::mousePress(window(), button, {}, pointOf(mainStrip(), control));
    }
    void releaseOnly(QWidget *control, Qt::MouseButton button) {
        QTest::mouseRelease(window(), button, {}, pointOf(mainStrip(), control));
    }

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnv>();
        m_room = std::make_unique<RecordingRoom>();
        m_clock = std::make_unique<StepClock>();
        hostlink::setPauseClock(m_clock.get());
        m_program = std::make_unique<MenuProgram>();
        mainStrip().setWindows(&m_program->windows);
        mainStrip().show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainStrip()));
        m_room->lines.clear();
    }
    void cleanup() {
        m_program.reset();
        hostlink::setPauseClock(nullptr);
        m_clock.reset();
        m_room.reset();
        m_env.reset();
    }

    // A left press does nothing until its release, which opens the session
    // menu beside the main window and hides the options window.
    void leftClickOpensTheSessionMenu() {
        m_program->sessionMenu(); // its load hides the options window
        m_program->optionsWindow()->show();
        pressOnly(mainStrip().menuButton, Qt::LeftButton);
        QVERIFY(!m_program->sessionMenu()->isVisible());
        QVERIFY(m_program->optionsWindow()->isVisible());
        releaseOnly(mainStrip().menuButton, Qt::LeftButton);
        QVERIFY(m_program->sessionMenu()->isVisible());
        QCOMPARE(m_program->sessionMenu()->pos(), besideMainStrip());
        QVERIFY(!m_program->optionsWindow()->isVisible());
        QVERIFY(m_room->lines.isEmpty());
    }

    // A right press opens the options window there and hides the menu; its
    // release does nothing more.
    void rightPressOpensTheOptions() {
        m_program->sessionMenu()->show();
        pressOnly(mainStrip().menuButton, Qt::RightButton);
        QVERIFY(m_program->optionsWindow()->isVisible());
        QCOMPARE(m_program->optionsWindow()->pos(), besideMainStrip());
        QVERIFY(!m_program->sessionMenu()->isVisible());
        releaseOnly(mainStrip().menuButton, Qt::RightButton);
        QVERIFY(!m_program->sessionMenu()->isVisible());
        QVERIFY(m_program->optionsWindow()->isVisible());
    }

    void otherButtonsDoNothing() {
        pressOnly(mainStrip().menuButton, Qt::MiddleButton);
        releaseOnly(mainStrip().menuButton, Qt::MiddleButton);
        QVERIFY(!m_program->sessionMenu()->isVisible());
        QVERIFY(!m_program->optionsWindow()->isVisible());
    }

    // Either menu opened while the shop is open closes the shop, with its line.
    void openingAMenuClosesTheShop_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("session menu") << int(Qt::LeftButton);
        QTest::newRow("options") << int(Qt::RightButton);
    }
    void openingAMenuClosesTheShop() {
        QFETCH(int, button);
        m_program->windows.showStyleShop();
        QVERIFY(m_program->windows.isStyleShopLoaded());
        QCOMPARE(m_room->lines.size(), 1);
        press(mainStrip().menuButton, Qt::MouseButton(button));
        QVERIFY(!m_program->windows.isStyleShopLoaded());
        QCOMPARE(m_room->lines.size(), 2);
        QVERIFY2(m_room->texts().at(1).contains(QStringLiteral("ùñløâdêd")),
                 qPrintable(m_room->texts().at(1)));
    }

    // What each press does with the menus open and where the window goes.
    void presses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("closesMenus");
        QTest::addColumn<bool>("drags");
        QTest::newRow("bare surface") << QString() << true << true;
        QTest::newRow("hours") << "hours" << false << true;
        QTest::newRow("mins") << "mins" << false << true;
        QTest::newRow("blinker") << "blinker" << false << true;
        QTest::newRow("grey strip") << "Label3" << false << false;
        QTest::newRow("plus mark") << "Label9" << false << false;
        QTest::newRow("minus mark") << "Label10" << false << false;
    }
    void presses() {
        QFETCH(QString, target);
        QFETCH(bool, closesMenus);
        QFETCH(bool, drags);
        m_program->sessionMenu()->show();
        m_program->optionsWindow()->show();
        QWidget *control = target.isEmpty() ? nullptr : mainStrip().findChild<QLabel *>(target);
        QVERIFY(target.isEmpty() || control);
        const QPoint at = control ? pointOf(mainStrip(), control) : kSurface;
        QVERIFY2(mainStrip().rect().contains(at), "the control is covered everywhere");
        QCOMPARE(mainStrip().childAt(at), control);

        const QPoint before = mainStrip().pos();
        const QPoint by(25, 35);
        QCursor::setPos(window()->mapToGlobal(at));
        bool pointerWasMove = false;
        QTimer::singleShot(0, window(), [&] {
            pointerWasMove = mainStrip().cursor().shape() == Qt::SizeAllCursor;
            QTest::mouseMove(window(), at + by);
            QTest::mouseRelease(window(), Qt::LeftButton, {}, at + by);
        });
        QTest::mousePress(window(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();

        QCOMPARE(mainStrip().pos(), drags ? before + by : before);
        QCOMPARE(pointerWasMove, drags);
        QCOMPARE(mainStrip().cursor().shape(), Qt::ArrowCursor); // the default pointer again
        QCOMPARE(m_program->sessionMenu()->isVisible(), !closesMenus);
        QCOMPARE(m_program->optionsWindow()->isVisible(), !closesMenus);
        QVERIFY(m_room->lines.isEmpty());
    }

    // The surface creates the menus hidden when they do not exist yet.
    void surfaceCreatesTheMenusHidden() {
        MenuProgram fresh;
        fresh.mainStrip.setWindows(&fresh.windows);
        fresh.mainStrip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh.mainStrip));
        QWindow *w = fresh.mainStrip.windowHandle();
        QTimer::singleShot(0, w, [w] { QTest::mouseRelease(w, Qt::LeftButton, {}, kSurface); });
        QTest::mousePress(w, Qt::LeftButton, {}, kSurface);
        QVERIFY(fresh.windows.sessionMenu() && !fresh.windows.sessionMenu()->isVisible());
        QVERIFY(fresh.windows.optionsWindow() && !fresh.windows.optionsWindow()->isVisible());
    }
};

QTEST_MAIN(TestMainStripMouse)
#include "tst_mainstripmouse.moc"
