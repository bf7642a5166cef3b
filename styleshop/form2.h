#pragma once

#include "controls.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace styleshop {

// The style shop: a black, frameless, topmost window listing the 25
// ready-made styles under a title entry. It announces its load and unload in
// the room; whoever owns it (the program's window registry) creates it,
// calls Form_Load before first showing it, and on unloadRequested() calls
// Form_Unload and destroys it.
class Form2 final : public QWidget {
    Q_OBJECT
public:
    // `form1` is the main window: its labels hold the style in effect, and
    // the shop shows it again after a drag or a title click.
    explicit Form2(QWidget *form1, QWidget *parent = nullptr);

    // Posts the load line; a shop already loaded posts nothing.
    void Form_Load();
    // Posts the unload line and leaves the screen; only the first call after
    // a load does anything.
    void Form_Unload();
    bool isLoaded() const { return m_loaded; }

    // A press on the background: drag, then show the main window.
    void Form_MouseDown();
    // The title entry.
    void Label3_Click();
    void Label3_DblClick();

    // The entries: each applies the style of its number.
    void Label1_Click();
    void Label2_Click();
    void Label4_Click();
    void Label5_Click();
    void Label6_Click();
    void Label7_Click();
    void Label8_Click();
    void Label9_Click();
    void Label10_Click();
    void Label11_Click();
    void Label12_Click();
    void Label13_Click();
    void Label14_Click();
    void Label15_Click();
    void Label16_Click();
    void Label17_Click();
    void Label18_Click();
    void Label19_Click();
    void Label20_Click();
    void Label21_Click();
    void Label22_Click();
    void Label23_Click();
    void Label24_Click();
    void Label25_Click();
    void Label26_Click();

    // Entry N applies style N (there is no style 3: Label3 is the title).
    void applyEntry(int number);

Q_SIGNALS:
    // The shop asks to be unloaded (its title was clicked).
    void unloadRequested();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The style in effect, as the main window's labels hold it; empty and
    // inert once the main window is gone.
    hostlink::LabelRecord record() const;
    void reloadStyle();
    void showForm1();

    QPointer<QWidget> m_form1;
    bool m_loaded = false;
};

} // namespace styleshop
