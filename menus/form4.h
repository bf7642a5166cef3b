#pragma once

#include "menuwindow.h"

namespace styleshop {
class EntryLabel;
}

namespace menus {

class Forms;

// The options window: the about box, the style shop, and the user's own
// style and handle. Every command hides the window first.
class Form4 final : public MenuWindow {
    Q_OBJECT
public:
    explicit Form4(Forms &forms);

    // Topmost.
    void Form_Load();
    // The slide downwards out of sight.
    void Form_Unload();

    void Label1_Click(); // about
    void Label2_Click(); // styles
    void Label3_Click(); // edit ascii
    void Label8_Click(); // edit font colour
    void Label7_Click(); // edit ascii colour
    void Label4_Click(); // edit handle
    void Label5_Click(); // cancel

    // The entries, by their design names.
    styleshop::EntryLabel *Label1, *Label2, *Label3, *Label8, *Label7, *Label4, *Label5;

private:
    // Edit ascii colour and edit font colour: the answer becomes the colour
    // held in `colourLabel` and written under `key`; the style turns custom.
    void editColour(const QString &prompt, const char *colourLabel, const char *key);

    Forms &m_forms;
};

} // namespace menus
