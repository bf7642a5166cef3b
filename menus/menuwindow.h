#pragma once

#include <QWidget>

class QColor;

namespace widgets {
class EntryLabel;
}

namespace menus {

// What the session menu and the options window share: a small frameless
// window at its design place, holding text entries stacked one above the
// other, which leaves the screen by sliding 300 twips a step.
class MenuWindow : public QWidget {
    Q_OBJECT
public:
    int topTwips() const;
    void setTopTwips(int top);
    int widthTwips() const;

protected:
    MenuWindow(const char *name, int widthTwips, int heightTwips);

    // An entry in "Arial Narrow" 6.75 pt, its text in `ink`; the rectangle is
    // in twips. A disabled entry takes no clicks.
    widgets::EntryLabel *addEntry(const char *name, const QString &caption, const QRect &twips,
                                  const QColor &ink);
    // An entry as wide as the window and 255 twips high, `top` twips down.
    widgets::EntryLabel *addRow(const char *name, const char *caption, int top, const QColor &ink);

    // Slides the window out of sight 300 twips a step, up or down, running
    // the pending events before each step, until its top has passed `bound`.
    // The test follows the step, so the window always moves at least once.
    enum class Slide { Up, Down };
    void slideOut(Slide direction, int bound);
};

} // namespace menus
