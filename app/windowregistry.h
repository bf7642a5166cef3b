#pragma once

#include "app/closablewindows.h"
#include "app/shutdowncontroller.h"
#include "control/sessioncontroller.h"
#include "menus/menuhost.h"
#include "menus/menuwindows.h"
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace app {

// The program's windows beside the main strip, as the main strip, the menus
// and the style shop reach each other, with the session model they all show
// and its controller. The session menu and the options window are loaded on
// first use and then only hidden and shown; the style shop is loaded when
// shown and destroyed when unloaded. The program's end is its shutdown
// controller's, which closes the windows through this registry.
class WindowRegistry final : public QObject, public menus::MenuHost, public ClosableWindows {
    Q_OBJECT
public:
    WindowRegistry(session::SessionModel &session, control::SessionController &controller,
                   QWidget *mainStrip);
    ~WindowRegistry() override;

    session::SessionModel &session() const override { return m_session; }
    control::SessionController &controller() const override { return m_controller; }
    QWidget *mainStrip() const override { return m_mainStrip; }

    // The session menu and the options window, loaded (hidden, their load
    // handlers run) on first use.
    menus::SessionMenu *sessionMenu() { return m_menus.sessionMenu(); }
    menus::OptionsWindow *optionsWindow() override { return m_menus.optionsWindow(); }

    bool isStyleShopLoaded() const { return m_styleShop != nullptr; }
    void showStyleShop() override;
    // Unloads the style shop with its line, if it is loaded.
    void unloadStyleShop() override;

    std::optional<QString> ask(const QString &prompt) override;

    ShutdownController &shutdown() { return m_shutdown; }
    bool isEnding() const override { return m_shutdown.isEnding(); }
    void unloadProgram() override { m_shutdown.unload(); }

private:
    // The program's end closing the windows.
    void loadSessionMenu() override { m_menus.sessionMenu(); }
    void unloadMenus() override;
    void closeMainStrip() override;

    session::SessionModel &m_session;
    control::SessionController &m_controller;
    QPointer<QWidget> m_mainStrip;
    menus::MenuWindows m_menus{*this};
    QPointer<styleshop::StyleShop> m_styleShop;
    ShutdownController m_shutdown{m_controller, *this};
};

} // namespace app
