#pragma once

#include "controls.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace menus {
class Forms;
}

namespace app {

// The main window: a tiny topmost strip with the idle clock and the menu
// button. Its labels hold the program's state (the current settings record,
// the clock, the minutes used, the previous load count), and other windows
// reach them by their design names.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    // The load handler: runs once, before the window is first shown.
    void Form_Load();
    // The unload handler: the closing lines, then the slides. Runs when the
    // window closes.
    void Form_Unload();
    // A minute of use.
    void MiUs_Timer();
    // An idle tick: reload the style, advance the clock, post two lines.
    void Timer1_Timer();

    // The mouse: a press on the bare surface closes both menus and drags; a
    // press on the clock drags; the menu button opens the options window with
    // a right press and the session menu with a left release.
    void Form_MouseDown();
    void hours_MouseDown();
    void mins_MouseDown();
    void blinker_MouseDown();
    void Label1_MouseDown(Qt::MouseButton button);
    void Label1_MouseUp(Qt::MouseButton button);

    // The other windows, which the menu button opens and the surface closes.
    void setForms(menus::Forms *forms) { m_forms = forms; }

    settings::SettingsRecord &record() { return m_record; }

    // The controls, by their design names.
    QLabel *Label1, *hours, *blinker, *mins, *Label3, *Label9, *Label10;
    QLabel *Label12, *Label8, *Label11, *Label5, *Label6, *Label7, *Label4, *minsused;
    QTimer *MiUs, *Timer1;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addLabel(const char *name, const QString &caption, int left, int top, int width,
                     int height);
    int screenWidthTwips() const;
    void drag();
    // Opens a menu beside this window with the click sound, the session menu
    // hidden first; then `alsoHide` is hidden and the style shop unloaded.
    void openMenu(QWidget *menu, QWidget *alsoHide);

    hostlink::LabelRecord m_record{this};
    menus::Forms *m_forms = nullptr;
    bool m_unloaded = false;
};

// Twips, the unit of every window position, at 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

} // namespace app
