#include "dialogs.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QList>
#include <QMessageBox>
#include <QQueue>

namespace menus::dialogs {

namespace {
struct Script {
    bool on = false;
    QQueue<QString> answers;
    QList<Shown> shown;
    std::function<void(const Shown &)> whileShown;
};

Script &script() {
    static Script s;
    return s;
}

// Scripted: note the dialog and let the hook run as if the loop ran under it.
void record(const Shown &shown) {
    script().shown.append(shown);
    if (script().whileShown)
        script().whileShown(shown);
}

QString applicationTitle() { return QGuiApplication::applicationDisplayName(); }
} // namespace

QString askText(const QString &prompt) {
    if (script().on) {
        record({true, prompt, {}, Icon::Information});
        return script().answers.isEmpty() ? QString() : script().answers.dequeue();
    }
    QInputDialog dialog;
    dialog.setWindowTitle(applicationTitle());
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    // The program's own windows stay on top; the prompt must not hide under them.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void showMessage(const QString &text, Icon icon, const QString &title) {
    if (script().on) {
        record({false, text, title, icon});
        return;
    }
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information : QMessageBox::Warning,
                    title.isEmpty() ? applicationTitle() : title, text, QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void setNextAnswer(const QString &answer) {
    script().on = true;
    script().answers.enqueue(answer);
}

QList<Shown> shown() { return script().shown; }

void setWhileShown(std::function<void(const Shown &)> hook) {
    script().on = true;
    script().whileShown = std::move(hook);
}

void resetScript() { script() = Script{true, {}, {}, {}}; }

void useRealDialogs() { script() = Script{}; }

} // namespace menus::dialogs
