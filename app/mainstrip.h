#pragma once

#include "session/sessionmodel.h"

#include <QWidget>

class QLabel;

namespace app {

class WindowRegistry;

// The main strip (design name Form1): a tiny topmost window with the idle
// clock and the menu button. Its labels show the session model: the clock in
// sight, the style, the minutes used and the previous load count in hidden
// labels below the client area, as the design keeps them.
class MainStrip final : public QWidget {
    Q_OBJECT
public:
    explicit MainStrip(session::SessionModel &session, QWidget *parent = nullptr);

    // Runs once, before the window is first shown: the defaults on a first
    // start, the load count and the two load lines.
    void load();
    // The closing lines, then the slides. Runs when the window closes.
    void unload();

    // The mouse: a press on the bare surface closes both menus and drags; a
    // press on the clock drags; the menu button opens the options window with
    // a right press and the session menu with a left release.
    void pressSurface();
    void pressClock();
    void pressMenuButton(Qt::MouseButton button);
    void releaseMenuButton(Qt::MouseButton button);

    // The other windows, which the menu button opens and the surface closes.
    void setWindows(WindowRegistry *windows) { m_windows = windows; }

    session::SessionModel &session() { return m_session; }

    // The controls; each keeps its design name as its object name. The labels
    // show the session model and hold nothing of their own.
    QLabel *menuButton, *hoursLabel, *colonLabel, *minutesLabel, *greyStrip, *plusMark, *minusMark;
    QLabel *styleNameLabel, *fontColourLabel, *asciiColourLabel, *frontAsciiLabel;
    QLabel *middleAsciiLabel, *backAsciiLabel, *previousLoadsLabel, *minutesUsedLabel;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *addLabel(const char *name, const QString &caption, int left, int top, int width,
                     int height);
    // The labels below the client area that show the style, the previous
    // load count and the minutes used.
    void addHiddenLabels();
    int screenWidthTwips() const;
    // Shows a change of the session model.
    void showChange(session::SessionModel::Item item, const QString &text);
    void drag();
    // Opens a menu beside this window with the click sound, the session menu
    // hidden first; then `alsoHide` is hidden and the style shop unloaded.
    void openMenu(QWidget *menu, QWidget *alsoHide);

    session::SessionModel &m_session;
    WindowRegistry *m_windows = nullptr;
    bool m_unloaded = false;
};

} // namespace app
