#pragma once

#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"

#include <QPointer>

namespace menus {

class MenuHost;

// The session menu and the options window of a host: each loaded (hidden,
// its load handler run) on first use and then only hidden and shown, until
// the program's end unloads it. What is still loaded goes with this object.
class MenuWindows {
public:
    explicit MenuWindows(MenuHost &host) : m_host(host) {}
    ~MenuWindows();
    MenuWindows(const MenuWindows &) = delete;
    MenuWindows &operator=(const MenuWindows &) = delete;

    SessionMenu *sessionMenu();
    OptionsWindow *optionsWindow();
    // The end's unloads: each slides away (its unload handler), then goes.
    void unloadSessionMenu();
    void unloadOptionsWindow();

private:
    MenuHost &m_host;
    QPointer<SessionMenu> m_sessionMenu;
    QPointer<OptionsWindow> m_optionsWindow;
};

} // namespace menus
