#include "windowregistry.h"

#include "menus/dialogs.h"

namespace app {

namespace {
// Unloads a window: its unload handler, then it goes. Any event loop that
// runs later may destroy it, a pause inside a handler still on the stack
// among them: a handler that unloads its own window touches nothing of it after.
template <typename Window> void unload(QPointer<Window> &slot, void (Window::*handler)()) {
    Window *window = slot;
    if (!window)
        return;
    (window->*handler)();
    slot = nullptr;
    window->hide();
    window->deleteLater();
}
} // namespace

WindowRegistry::WindowRegistry(session::SessionModel &session, QWidget *mainStrip,
                               QTimer *minuteCounter, QTimer *idleTicker)
    : m_session(session), m_mainStrip(mainStrip), m_minuteCounter(minuteCounter),
      m_idleTicker(idleTicker) {}

WindowRegistry::~WindowRegistry() {
    delete m_styleShop.data();
    delete m_sessionMenu.data();
    delete m_optionsWindow.data();
}

menus::SessionMenu *WindowRegistry::sessionMenu() {
    if (!m_sessionMenu) {
        m_sessionMenu = new menus::SessionMenu(*this);
        connect(m_sessionMenu, &menus::SessionMenu::idleSwitched, this,
                &WindowRegistry::idleSwitched);
        m_sessionMenu->load();
    }
    return m_sessionMenu;
}

menus::OptionsWindow *WindowRegistry::optionsWindow() {
    if (!m_optionsWindow) {
        m_optionsWindow = new menus::OptionsWindow(*this);
        m_optionsWindow->load();
    }
    return m_optionsWindow;
}

void WindowRegistry::showStyleShop() {
    if (!m_styleShop) {
        m_styleShop = new styleshop::StyleShop(m_session, m_mainStrip);
        connect(m_styleShop, &styleshop::StyleShop::unloadRequested, this,
                &WindowRegistry::unloadStyleShop);
        m_styleShop->load();
    }
    m_styleShop->show();
}

void WindowRegistry::unloadStyleShop() { unload(m_styleShop, &styleshop::StyleShop::unload); }

void WindowRegistry::unloadSessionMenu() { unload(m_sessionMenu, &menus::SessionMenu::slideAway); }

void WindowRegistry::unloadOptionsWindow() {
    unload(m_optionsWindow, &menus::OptionsWindow::slideAway);
}

std::optional<QString> WindowRegistry::ask(const QString &prompt) {
    QString answer = menus::dialogs::askText(prompt);
    if (isEnding())
        return std::nullopt;
    return answer;
}

} // namespace app
