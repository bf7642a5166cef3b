#include "shopsession.h"

#include "hostlink/pause.h"
#include "platform/clock.h"
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"
#include "tests/firststart.h"
#include "tests/stepclock.h"

#include <QCursor>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

ShopSession::ShopSession()
    : m_clock(std::make_unique<StepClock>()), m_session(std::make_unique<session::SessionModel>()),
      m_mainStrip(std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint)) {
    hostlink::setPauseClock(m_clock.get());
    startAsAtFirstStart(*m_session);
    m_mainStrip->show();
}

ShopSession::~ShopSession() {
    m_shop.reset();
    m_mainStrip.reset();
    m_session.reset();
    hostlink::setPauseClock(nullptr);
}

QLabel *ShopSession::entry(const char *name) const {
    return m_shop ? m_shop->findChild<QLabel *>(QString::fromLatin1(name)) : nullptr;
}

void ShopSession::open() {
    m_mainStrip->hide();
    m_shop = std::make_unique<styleshop::StyleShop>(*m_session, m_mainStrip.get());
    styleshop::StyleShop *shop = m_shop.get();
    QObject::connect(shop, &styleshop::StyleShop::unloadRequested, shop,
                     [shop] { shop->unload(); });
    shop->load();
    shop->show();
    (void)QTest::qWaitForWindowExposed(shop);
}

bool ShopSession::centreOf(const char *name, QPoint &centre) const {
    const QLabel *label = entry(name);
    if (!label)
        return false;
    centre = label->geometry().center();
    return m_shop->childAt(centre) == label;
}

bool ShopSession::click(const char *name) { return mouseOn(name, QTest::MouseClick); }

bool ShopSession::doubleClick(const char *name) { return mouseOn(name, QTest::MouseDClick); }

bool ShopSession::mouseOn(const char *name, QTest::MouseAction action) {
    QPoint centre;
    if (!centreOf(name, centre))
        return false;
    QTest::mouseEvent(action, m_shop->windowHandle(), Qt::LeftButton, {}, centre);
    return true;
}

Qt::CursorShape ShopSession::pressMoveRelease(QPoint at, QPoint by) {
    styleshop::StyleShop *shop = m_shop.get();
    QWindow *window = shop->windowHandle();
    // The pointer rests where it presses; a drag keeps that point under it.
    QCursor::setPos(window->mapToGlobal(at));
    const QPoint to = at + by;
    // Runs once the press has been handled, or inside the drag it starts.
    Qt::CursorShape shape = Qt::BlankCursor;
    QTimer::singleShot(0, window, [window, shop, to, &shape] {
        shape = shop->cursor().shape();
        QTest::mouseMove(window, to);
        QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    });
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
    return shape;
}
