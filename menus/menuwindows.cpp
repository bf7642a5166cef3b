#include "menuwindows.h"

#include "widgets/unloadwindow.h"

namespace menus {

MenuWindows::~MenuWindows() {
    delete m_sessionMenu.data();
    delete m_optionsWindow.data();
}

SessionMenu *MenuWindows::sessionMenu() {
    if (!m_sessionMenu) {
        m_sessionMenu = new SessionMenu(m_host);
        m_sessionMenu->load();
    }
    return m_sessionMenu;
}

OptionsWindow *MenuWindows::optionsWindow() {
    if (!m_optionsWindow) {
        m_optionsWindow = new OptionsWindow(m_host);
        m_optionsWindow->load();
    }
    return m_optionsWindow;
}

void MenuWindows::unloadSessionMenu() {
    widgets::unloadWindow(m_sessionMenu, &SessionMenu::slideAway);
}

void MenuWindows::unloadOptionsWindow() {
    widgets::unloadWindow(m_optionsWindow, &OptionsWindow::slideAway);
}

} // namespace menus
