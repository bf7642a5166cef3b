#pragma once

#include <QString>
#include <functional>

namespace menus {

// The platform's modal prompts and message boxes, behind one seam: a test
// answers them from a queue and no real dialog opens.
namespace dialogs {

enum class Icon { Information, Exclamation };

// What a dialog showed, as a test sees it.
struct Shown {
    bool prompt = false; // an input prompt, else a message box
    QString text;
    QString title; // empty: the application's title
    Icon icon = Icon::Information;
};

// The input prompt: the prompt text alone, under the application's title,
// no default answer, default position. A cancelled prompt answers the empty
// text.
QString askText(const QString &prompt);
// A message box with one OK button; an empty title leaves the application's.
void showMessage(const QString &text, Icon icon, const QString &title = {});

// Scripted mode: from the first answer queued on, no dialog opens. A prompt
// takes the next queued answer (the empty text, as cancelled, when none is
// left); a message box is closed at once.
void setNextAnswer(const QString &answer);
// Every dialog shown in scripted mode, in order; and a hook that runs while
// each one is up (what runs in the message loop while a dialog waits).
QList<Shown> shown();
void setWhileShown(std::function<void(const Shown &)> hook);
// Back to a fresh scripted state: no answers, nothing shown, no hook.
void resetScript();
// Back to the platform's own dialogs.
void useRealDialogs();

} // namespace dialogs
} // namespace menus
