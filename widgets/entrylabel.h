#pragma once

#include <QLabel>

namespace widgets {

// A text entry of a menu or of the style shop. It takes every press made on it, so a press on
// an entry never reaches the window beneath (which would start a drag).
// A left press and release on it is a click; the second press of a double
// click is the double click, and its release clicks nothing.
class EntryLabel final : public QLabel {
    Q_OBJECT
public:
    EntryLabel(const QString &caption, QWidget *parent);

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace widgets
