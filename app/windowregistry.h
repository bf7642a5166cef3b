#pragma once

#include "app/shutdowncontroller.h"
#include "menus/menuhost.h"
#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"
#include "session/sessionmodel.h"
#include "styleshop/styleshop.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace app {

// The program's windows beside the main strip, as the main strip, the menus
// and the style shop reach each other, with the session model they all show
// and the main strip's two timers. The session menu and the options window
// are loaded on first use and then only hidden and shown; the style shop is
// loaded when shown and destroyed when unloaded. The program's end is its
// shutdown controller's.
class WindowRegistry final : public QObject, public menus::MenuHost {
    Q_OBJECT
public:
    WindowRegistry(session::SessionModel &session, QWidget *mainStrip, QTimer *minuteCounter,
                   QTimer *idleTicker);
    ~WindowRegistry() override;

    session::SessionModel &session() const override { return m_session; }
    QWidget *mainStrip() const override { return m_mainStrip; }
    // Null once the main strip is gone.
    QTimer *minuteCounter() const { return m_minuteCounter; }
    QTimer *idleTicker() const override { return m_idleTicker; }

    // The session menu and the options window, loaded (hidden, their load
    // handlers run) on first use.
    menus::SessionMenu *sessionMenu();
    menus::OptionsWindow *optionsWindow() override;

    bool isStyleShopLoaded() const { return m_styleShop != nullptr; }
    void showStyleShop() override;
    // Unloads the style shop with its line, if it is loaded.
    void unloadStyleShop();

    // The unload's unloads of the two menu windows: each slides away (its
    // unload handler), then goes.
    void unloadSessionMenu();
    void unloadOptionsWindow();

    std::optional<QString> ask(const QString &prompt) override;

    ShutdownController &shutdown() { return m_shutdown; }
    bool isEnding() const override { return m_shutdown.isEnding(); }
    void unloadProgram() override { m_shutdown.unload(); }

Q_SIGNALS:
    // The session menu's idle on or idle off has run.
    void idleSwitched(bool on);

private:
    session::SessionModel &m_session;
    QPointer<QWidget> m_mainStrip;
    QPointer<QTimer> m_minuteCounter;
    QPointer<QTimer> m_idleTicker;
    QPointer<menus::SessionMenu> m_sessionMenu;
    QPointer<menus::OptionsWindow> m_optionsWindow;
    QPointer<styleshop::StyleShop> m_styleShop;
    ShutdownController m_shutdown{*this};
};

} // namespace app
