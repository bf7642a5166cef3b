#pragma once

#include "menus/menuwindow.h"
#include "settings/settingsrecord.h"

namespace widgets {
class EntryLabel;
}

namespace menus {

class MenuHost;

// The options window (design name Form4): the about box, the style shop, and
// the user's own style and handle. Every command hides the window first.
class OptionsWindow final : public MenuWindow {
    Q_OBJECT
public:
    explicit OptionsWindow(MenuHost &windows);

    // Topmost.
    void load();
    // The slide downwards out of sight.
    void slideAway();

    void showAbout();       // "about": two message boxes
    void openStyleShop();   // "styles": the main strip hides, the shop opens
    void editAscii();       // "e ascii": asks for the front and back ascii
    void editFontColour();  // "e fcolor"
    void editAsciiColour(); // "e acolor"
    void editHandle();      // "e handle": asks for the handle and announces it
    void cancel();          // "cancel": hides the window

    // The entries, in the window's order; their object names are the design's.
    widgets::EntryLabel *aboutEntry, *stylesEntry, *editAsciiEntry, *editFontColourEntry,
        *editAsciiColourEntry, *editHandleEntry, *cancelEntry;

private:
    // Edit ascii colour and edit font colour: the answer becomes the `colour`
    // field and is stored; the style turns custom.
    void editColour(const QString &prompt, settings::Field colour);

    MenuHost &m_windows;
};

} // namespace menus
