#pragma once

#include "menus/menuwindow.h"

namespace widgets {
class EntryLabel;
}

namespace menus {

class MenuHost;

// The session menu (design name Form3): idle on and off, the idle reason, the
// statistics, the end of the program. Every command but unload hides the
// menu first. Idle mode is the session controller's: "idle on" is enabled
// exactly while it is off, "idle off" exactly while it is on.
class SessionMenu final : public MenuWindow {
    Q_OBJECT
public:
    explicit SessionMenu(MenuHost &windows);

    // Topmost, and the options window loaded hidden.
    void load();
    // The slide upwards out of sight.
    void slideAway();

    void goIdle();         // "idle on": hides, then the controller's idle on
    void stopIdleTick();   // a double click on "idle on": the controller's tick stops
    void comeBack();       // "idle off": hides, then the controller's idle off
    void editReason();     // "edit msg": asks for the idle reason
    void showStatistics(); // "stats": the four statistics lines
    void unload();         // "unload": the program ends
    void cancel();         // "cancel": hides the menu

    // The entries, in the menu's order; their object names are the design's.
    widgets::EntryLabel *idleOnEntry, *idleOffEntry, *editReasonEntry, *statisticsEntry,
        *unloadEntry, *cancelEntry;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showIdle(bool idle);

    MenuHost &m_windows;
    // The last release on "idle on" ran its click: the double click that
    // follows belongs to it, although the click has disabled the entry.
    bool m_idleOnClicked = false;
};

} // namespace menus
