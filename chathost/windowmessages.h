#pragma once

#include <QString>

class QWidget;

namespace chathost {

// What the messages a client sends do to a widget, by its kind: the text of
// an entry box or a label, the contents of a rich-text control, the caption
// of a window.
void setWindowText(QWidget *window, const QString &text);
QString windowText(const QWidget *window);

// A character message: the widget gets the key as if typed (13 is Enter,
// which posts an entry box's line; 8 is Backspace).
void sendCharMessage(QWidget *window, int code);

// Types the text at the cursor of an entry box or a rich-text control;
// false for other widgets.
bool typeText(QWidget *window, const QString &text);

// Brings a document window to the front of its document area (any other
// window to the top of its siblings).
void bringToFront(QWidget *window);

} // namespace chathost
