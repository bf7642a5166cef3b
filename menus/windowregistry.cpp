#include "windowregistry.h"

#include "dialogs.h"

#include <QCoreApplication>

namespace menus {

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
      m_idleTicker(idleTicker), m_end([] { QCoreApplication::exit(0); }) {}

WindowRegistry::~WindowRegistry() {
    delete m_styleShop.data();
    delete m_sessionMenu.data();
    delete m_optionsWindow.data();
}

SessionMenu *WindowRegistry::sessionMenu() {
    if (!m_sessionMenu) {
        m_sessionMenu = new SessionMenu(*this);
        connect(m_sessionMenu, &SessionMenu::idleSwitched, this, &WindowRegistry::idleSwitched);
        m_sessionMenu->load();
    }
    return m_sessionMenu;
}

OptionsWindow *WindowRegistry::optionsWindow() {
    if (!m_optionsWindow) {
        m_optionsWindow = new OptionsWindow(*this);
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

void WindowRegistry::unloadSessionMenu() { unload(m_sessionMenu, &SessionMenu::slideAway); }

void WindowRegistry::unloadOptionsWindow() { unload(m_optionsWindow, &OptionsWindow::slideAway); }

void WindowRegistry::unloadProgram() {
    if (!m_ending)
        sessionMenu()->unload();
}

bool WindowRegistry::startEnding() {
    if (m_ending)
        return false;
    m_ending = true;
    m_goodbye.begin();
    return true;
}

std::optional<QString> WindowRegistry::ask(const QString &prompt) {
    QString answer = dialogs::askText(prompt);
    if (m_ending)
        return std::nullopt;
    return answer;
}

void WindowRegistry::endProgram() { m_end(); }

void WindowRegistry::setEndProgram(std::function<void()> end) { m_end = std::move(end); }

} // namespace menus
