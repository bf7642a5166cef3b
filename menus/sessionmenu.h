#pragma once

#include "menus/menuwindow.h"

namespace widgets {
class EntryLabel;
}

namespace menus {

class MenuHost;

// The session menu (design name Form3): idle on and off, the idle reason, the
// statistics, the end of the program. Every command but unload hides the
// menu first.
class SessionMenu final : public MenuWindow {
    Q_OBJECT
public:
    explicit SessionMenu(MenuHost &windows);

    // Topmost, and the options window loaded hidden.
    void load();
    // The slide upwards out of sight.
    void slideAway();

    void goIdle();         // "idle on": the idle tick starts, the engaged line
    void stopIdleTick();   // a double click on "idle on": the tick stops, nothing else
    void comeBack();       // "idle off": the tick stops, the disengaged line, the clock kept
    void editReason();     // "edit msg": asks for the idle reason
    void showStatistics(); // "stats": the four statistics lines
    void unload();         // "unload": the program ends
    void cancel();         // "cancel": hides the menu

    // The entries, in the menu's order; their object names are the design's.
    widgets::EntryLabel *idleOnEntry, *idleOffEntry, *editReasonEntry, *statisticsEntry,
        *unloadEntry, *cancelEntry;

Q_SIGNALS:
    // Idle on or idle off has run, whoever ran it.
    void idleSwitched(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MenuHost &m_windows;
    // The last release on "idle on" ran its click: the double click that
    // follows belongs to it, although the click has disabled the entry.
    bool m_idleOnClicked = false;
};

} // namespace menus
