#include "windowmessages.h"

#include "platform/cp1252.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextEdit>

namespace chathost {

void setWindowText(QWidget *window, const QString &text) {
    if (auto *edit = qobject_cast<QLineEdit *>(window))
        edit->setText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(window))
        rich->setPlainText(text);
    else if (auto *label = qobject_cast<QLabel *>(window))
        label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(window))
        button->setText(text);
    else
        window->setWindowTitle(text);
}

QString windowText(const QWidget *window) {
    if (auto *edit = qobject_cast<const QLineEdit *>(window))
        return edit->text();
    if (auto *rich = qobject_cast<const QTextEdit *>(window))
        return rich->toPlainText();
    if (auto *label = qobject_cast<const QLabel *>(window))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(window))
        return button->text();
    return window->windowTitle();
}

void sendCharMessage(QWidget *window, int code) {
    Qt::Key key = Qt::Key_unknown;
    QString text;
    switch (code) {
    case 13:
        key = Qt::Key_Return;
        text = QStringLiteral("\r");
        break;
    case 8:
        key = Qt::Key_Backspace;
        text = QStringLiteral("\b");
        break;
    case 9:
        key = Qt::Key_Tab;
        text = QStringLiteral("\t");
        break;
    case 27:
        key = Qt::Key_Escape;
        text = QString(QChar(27));
        break;
    default:
        if (code < 32 || code > 255)
            return;
        text = platform::fromCp1252(QByteArray(1, char(code)));
        if (text[0].isLetterOrNumber() && text[0].unicode() < 0x80)
            key = Qt::Key(text[0].toUpper().unicode());
        break;
    }
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(window, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(window, &release);
}

bool typeText(QWidget *window, const QString &text) {
    if (auto *edit = qobject_cast<QLineEdit *>(window)) {
        edit->insert(text);
        return true;
    }
    if (auto *rich = qobject_cast<QTextEdit *>(window); rich && !rich->isReadOnly()) {
        rich->insertPlainText(text);
        return true;
    }
    return false;
}

void bringToFront(QWidget *window) {
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window); sub && sub->mdiArea()) {
        if (sub->isMinimized())
            sub->showNormal();
        sub->mdiArea()->setActiveSubWindow(sub);
        sub->raise();
        return;
    }
    window->raise();
}

} // namespace chathost
