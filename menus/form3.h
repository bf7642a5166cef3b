#pragma once

#include "menuwindow.h"

namespace styleshop {
class EntryLabel;
}

namespace menus {

class Forms;

// The session menu: idle on and off, the idle reason, the statistics, the
// end of the program. Every command but unload hides the menu first.
class Form3 final : public MenuWindow {
    Q_OBJECT
public:
    explicit Form3(Forms &forms);

    // Topmost, and the options window loaded hidden.
    void Form_Load();
    // The slide upwards out of sight.
    void Form_Unload();

    void Label1_Click();    // idle on
    void Label1_DblClick(); // stops the idle timer, nothing else
    void Label3_Click();    // idle off
    void Label2_Click();    // edit msg
    void Label5_Click();    // stats
    void Label6_Click();    // unload
    void Label7_Click();    // cancel

    // The entries, by their design names.
    styleshop::EntryLabel *Label1, *Label3, *Label2, *Label5, *Label6, *Label7;

Q_SIGNALS:
    // Idle on or idle off has run, whoever ran it.
    void idleSwitched(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Forms &m_forms;
    // The last release on "idle on" ran its click: the double click that
    // follows belongs to it, although the click has disabled the entry.
    bool m_idleOnClicked = false;
};

} // namespace menus
