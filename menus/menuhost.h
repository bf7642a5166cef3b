#pragma once

#include "control/sessioncontroller.h"
#include "session/sessionmodel.h"

#include <QString>
#include <optional>

class QWidget;

namespace menus {

class OptionsWindow;

// What the session menu and the options window reach beyond themselves: the
// session model and its controller, the main strip, the options window, the
// style shop, the prompt and the program's end. The program's window
// registry (app/) provides it, so the menus know nothing of the windows above
// them.
class MenuHost {
public:
    virtual ~MenuHost() = default;

    virtual session::SessionModel &session() const = 0;
    // Idle mode, the idle tick and the minute counter.
    virtual control::SessionController &controller() const = 0;
    // The main strip; null once it is gone.
    virtual QWidget *mainStrip() const = 0;
    // The options window, loaded (hidden, its load run) on first use.
    virtual OptionsWindow *optionsWindow() = 0;
    // Loads the style shop with its line when it is not loaded, then shows it.
    virtual void showStyleShop() = 0;
    // Asks with the platform's prompt. Nothing when the program was told to
    // end while the prompt was up: the unload has closed it, its empty answer
    // is no answer, and the asking command must stop without writing (its
    // window may be gone).
    virtual std::optional<QString> ask(const QString &prompt) = 0;
    // True once the program is ending: the announcement under way stops and
    // only the closing lines reach the room.
    virtual bool isEnding() const = 0;
    // The unload command: the program ends, once; a second request changes
    // nothing. The calling window may be gone when it returns.
    virtual void unloadProgram() = 0;
};

} // namespace menus
