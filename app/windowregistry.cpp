#include "windowregistry.h"

#include "menus/dialogs.h"
#include "widgets/unloadwindow.h"

namespace app {

WindowRegistry::WindowRegistry(session::SessionModel &session,
                               control::SessionController &controller, QWidget *mainStrip)
    : m_session(session), m_controller(controller), m_mainStrip(mainStrip) {}

WindowRegistry::~WindowRegistry() { delete m_styleShop.data(); }

void WindowRegistry::showStyleShop() {
    if (!m_styleShop) {
        m_styleShop = new styleshop::StyleShop(m_session, m_mainStrip);
        connect(m_styleShop, &styleshop::StyleShop::unloadRequested, this,
                &WindowRegistry::unloadStyleShop);
        m_styleShop->load();
    }
    m_styleShop->show();
}

void WindowRegistry::unloadStyleShop() {
    widgets::unloadWindow(m_styleShop, &styleshop::StyleShop::unload);
}

void WindowRegistry::unloadMenus() {
    m_menus.unloadSessionMenu();
    m_menus.unloadOptionsWindow();
}

void WindowRegistry::closeMainStrip() {
    if (QWidget *mainStrip = m_mainStrip)
        mainStrip->close(); // the closing lines and slides
}

std::optional<QString> WindowRegistry::ask(const QString &prompt) {
    QString answer = menus::dialogs::askText(prompt);
    if (isEnding())
        return std::nullopt;
    return answer;
}

} // namespace app
