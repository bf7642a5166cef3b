#pragma once

// The menu tests' world with the whole program in it: the main strip loaded
// as start-up loads it and the program's window registry.

#include "app/mainstrip.h"
#include "app/startup.h"
#include "app/windowregistry.h"
#include "control/sessioncontroller.h"
#include "menus/optionswindow.h"
#include "menus/sessionmenu.h"
#include "tests/menuworld.h"

// The main window loaded as start-up loads it, with the session controller
// and the window registry beside it. The end of the program is counted, not done, unless `realEnd`.
struct MenuProgram {
    explicit MenuProgram(bool realEnd = false) {
        app::prepareStart();
        mainStrip.load();
        if (!realEnd)
            windows.shutdown().setEndProgram([this] { ++ends; });
    }
    menus::SessionMenu *sessionMenu() { return windows.sessionMenu(); }
    menus::OptionsWindow *optionsWindow() { return windows.optionsWindow(); }

    session::SessionModel session;
    control::SessionController controller{session};
    app::MainStrip mainStrip{session};
    app::WindowRegistry windows{session, controller, &mainStrip};
    int ends = 0;
};

using MenuFixture = MenuWorld<MenuProgram>;
