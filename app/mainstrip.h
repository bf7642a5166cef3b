#pragma once

#include "controls.h"

#include <QWidget>

class QLabel;
class QTimer;

namespace menus {
class WindowRegistry;
}

namespace app {

// The main strip (design name Form1): a tiny topmost window with the idle
// clock and the menu button. Its labels hold the program's state (the current
// settings record, the clock, the minutes used, the previous load count), and
// other windows reach them by their design names.
class MainStrip final : public QWidget {
    Q_OBJECT
public:
    explicit MainStrip(QWidget *parent = nullptr);

    // Runs once, before the window is first shown: the defaults on a first
    // start, the load count and the two load lines.
    void load();
    // The closing lines, then the slides. Runs when the window closes.
    void unload();
    // A minute of use (the minute counter's timer).
    void countMinuteUsed();
    // An idle tick: reload the style, advance the clock, post two lines.
    void idleTick();

    // The mouse: a press on the bare surface closes both menus and drags; a
    // press on the clock drags; the menu button opens the options window with
    // a right press and the session menu with a left release.
    void pressSurface();
    void pressClock();
    void pressMenuButton(Qt::MouseButton button);
    void releaseMenuButton(Qt::MouseButton button);

    // The other windows, which the menu button opens and the surface closes.
    void setWindows(menus::WindowRegistry *windows) { m_windows = windows; }

    settings::SettingsRecord &record() { return m_record; }

    // The controls; each keeps its design name as its object name.
    QLabel *menuButton, *hoursLabel, *colonLabel, *minutesLabel, *greyStrip, *plusMark, *minusMark;
    QLabel *styleNameLabel, *fontColourLabel, *asciiColourLabel, *frontAsciiLabel;
    QLabel *middleAsciiLabel, *backAsciiLabel, *previousLoadsLabel, *minutesUsedLabel;
    // The minute counter (MiUs) and the idle tick (Timer1).
    QTimer *minuteCounter, *idleTicker;

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
    menus::WindowRegistry *m_windows = nullptr;
    bool m_unloaded = false;
};

// Twips, the unit of every window position, at 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

} // namespace app
