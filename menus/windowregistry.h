#pragma once

#include "goodbye.h"
#include "optionswindow.h"
#include "sessionmenu.h"
#include "sessionmodel.h"
#include "styleshop.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

namespace menus {

// The program's windows beside the main strip, as the main strip, the menus
// and the style shop reach each other, with the session model they all show
// and the main strip's two timers, which the session menu starts and stops.
// The session menu and the
// options window are loaded on first use and then only hidden and shown;
// the style shop is loaded when shown and destroyed when unloaded.
class WindowRegistry final : public QObject {
    Q_OBJECT
public:
    WindowRegistry(session::SessionModel &session, QWidget *mainStrip, QTimer *minuteCounter,
                   QTimer *idleTicker);
    ~WindowRegistry() override;

    session::SessionModel &session() const { return m_session; }
    QWidget *mainStrip() const { return m_mainStrip; }
    // Null once the main strip is gone.
    QTimer *minuteCounter() const { return m_minuteCounter; }
    QTimer *idleTicker() const { return m_idleTicker; }

    // The session menu and the options window, loaded (hidden, their load
    // handlers run) on first use.
    SessionMenu *sessionMenu();
    OptionsWindow *optionsWindow();

    bool isStyleShopLoaded() const { return m_styleShop != nullptr; }
    // Loads the style shop with its line when it is not loaded, then shows it.
    void showStyleShop();
    // Unloads the style shop with its line, if it is loaded.
    void unloadStyleShop();

    // The unload command's unloads of the two menu windows: each slides away
    // (its unload handler), then goes.
    void unloadSessionMenu();
    void unloadOptionsWindow();

    // The unload command, asked for from outside the windows (a signal, the
    // desktop session's end).
    void unloadProgram();
    // True for the first caller only: the program ends once. From then on the
    // announcement under way stops and only the closing lines reach the room.
    bool startEnding();
    bool isEnding() const { return m_ending; }

    // Asks with the platform's prompt. Nothing when the program was told to
    // end while the prompt was up: the unload has closed it, its empty answer
    // is no answer, and the asking command must stop without writing (its
    // window may be gone).
    std::optional<QString> ask(const QString &prompt);

    // The unload command's last step, with every window unloaded. It leaves
    // the event loop with status 0; tests put their own in its place.
    void endProgram();
    void setEndProgram(std::function<void()> end);

Q_SIGNALS:
    // The session menu's idle on or idle off has run.
    void idleSwitched(bool on);

private:
    session::SessionModel &m_session;
    QPointer<QWidget> m_mainStrip;
    QPointer<QTimer> m_minuteCounter;
    QPointer<QTimer> m_idleTicker;
    QPointer<SessionMenu> m_sessionMenu;
    QPointer<OptionsWindow> m_optionsWindow;
    QPointer<styleshop::StyleShop> m_styleShop;
    bool m_ending = false;
    hostlink::Goodbye m_goodbye;
    std::function<void()> m_end;
};

} // namespace menus
