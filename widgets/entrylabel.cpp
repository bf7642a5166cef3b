#include "entrylabel.h"

#include <QMouseEvent>

namespace widgets {

EntryLabel::EntryLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void EntryLabel::mousePressEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
}

void EntryLabel::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void EntryLabel::mouseDoubleClickEvent(QMouseEvent *event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    Q_EMIT doubleClicked();
}

} // namespace widgets
