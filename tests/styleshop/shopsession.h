#pragma once

#include <QPoint>
#include <QTest>
#include <memory>

class QLabel;
class QWidget;

namespace platform {
class Clock;
}
namespace session {
class SessionModel;
}
namespace styleshop {
class StyleShop;
}

// The world the style shop finds after a first start, without the program:
// the session model as the load fills it, a bare window in the main strip's
// place, shown, and pauses that end at once; the shop opened the way the
// options window's styles command opens it. The shop's owner, which unloads
// it when it asks, is played here too. Construct a TestEnv, and the room the
// lines go to, first.
class ShopSession {
public:
    ShopSession();
    ~ShopSession();
    ShopSession(const ShopSession &) = delete;
    ShopSession &operator=(const ShopSession &) = delete;

    session::SessionModel &session() { return *m_session; }
    QWidget &mainStrip() { return *m_mainStrip; }
    styleshop::StyleShop &shop() { return *m_shop; }
    QLabel *entry(const char *name) const;

    // Hides the main window, loads the shop and shows it.
    void open();

    // Mouse actions through the shop's window, as the pointer makes them;
    // false when the named entry is not what lies under its centre.
    bool click(const char *name);
    bool doubleClick(const char *name);
    // Presses the left button at `at` (shop coordinates), moves the pointer
    // by `by`, releases it, and lets any events still pending run. Returns
    // the shop's pointer shape while the button was down.
    Qt::CursorShape pressMoveRelease(QPoint at, QPoint by);

private:
    bool centreOf(const char *name, QPoint &centre) const;
    bool mouseOn(const char *name, QTest::MouseAction action);

    std::unique_ptr<platform::Clock> m_clock;
    std::unique_ptr<session::SessionModel> m_session;
    std::unique_ptr<QWidget> m_mainStrip;
    std::unique_ptr<styleshop::StyleShop> m_shop;
};
