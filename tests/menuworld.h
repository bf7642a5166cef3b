#pragma once

// What the menu tests share, with or without the whole program: a test's
// world (fresh folders, a clock the tests own, scripted dialogs, a recording
// room), the settings file's raw bytes, and the reference lines.

#include "hostlink/pause.h"
#include "menus/dialogs.h"
#include "menus/optionswindow.h"
#include "settings/settingsfile.h"
#include "tests/recordingroom.h"
#include "tests/stepclock.h"
#include "tests/testenv.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

// One test's world: fresh folders, the test's own clock from 1000.0, dialogs
// answered from a script, a recording room, and `Program` made with the lines
// it posted as it loaded cleared.
template <typename Program> struct MenuWorld {
    void setUp(bool withProgram = true) {
        env = std::make_unique<TestEnv>();
        clock.setNow(1000.0);
        hostlink::setPauseClock(&clock);
        menus::dialogs::resetScript();
        room = std::make_unique<RecordingRoom>();
        if (withProgram)
            program = std::make_unique<Program>();
        room->lines.clear();
    }
    void tearDown() {
        program.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        room.reset();
        hostlink::setPauseClock(nullptr);
        env.reset();
    }

    std::unique_ptr<TestEnv> env;
    StepClock clock;
    std::unique_ptr<RecordingRoom> room;
    std::unique_ptr<Program> program;
};

// A mouse event as the window system hands it to a widget, enabled or not.
inline void sendMouse(QWidget *widget, QEvent::Type type) {
    const QPointF at = widget->rect().center();
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void click(QWidget *widget) {
    sendMouse(widget, QEvent::MouseButtonPress);
    sendMouse(widget, QEvent::MouseButtonRelease);
}

// The options window's e ascii answered "F" and "B", with `between` queued
// (on `context`) while the first prompt is up under the name `what`: the
// order in which the prompts (by their fourth word) and it ran.
inline QStringList editAsciiQueuing(menus::OptionsWindow *options, QObject *context,
                                    const QString &what, const std::function<void()> &between) {
    QStringList order;
    menus::dialogs::setWhileShown([&](const menus::dialogs::Shown &shown) {
        order << shown.text.section(u' ', 3, 3);
        if (order.size() == 1)
            QTimer::singleShot(0, context, [&] {
                order << what;
                between();
            });
    });
    menus::dialogs::setNextAnswer(QStringLiteral("F"));
    menus::dialogs::setNextAnswer(QStringLiteral("B"));
    options->editAscii();
    menus::dialogs::setWhileShown({}); // it holds this call's locals
    return order;
}

// Every prompt of both menu windows' commands, by window, entry and the
// number of the prompt during which the program is told to end.
inline void addEndInPromptRows() {
    QTest::addColumn<bool>("sessionMenu");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("endInPrompt");
    QTest::newRow("edit msg") << true << "Label2" << 1;
    QTest::newRow("e ascii, front") << false << "Label3" << 1;
    QTest::newRow("e ascii, back") << false << "Label3" << 2;
    QTest::newRow("e fcolor") << false << "Label8" << 1;
    QTest::newRow("e acolor") << false << "Label7" << 1;
    QTest::newRow("e handle") << false << "Label4" << 1;
}

// Shows `window` and clicks its entry, every prompt answered, with `end`
// called while prompt number `endInPrompt` is up; returns the prompts shown.
inline int clickEndingInPrompt(QWidget *window, const QString &entry, int endInPrompt,
                               const std::function<void()> &end) {
    menus::dialogs::setNextAnswer(QStringLiteral("typed"));
    menus::dialogs::setNextAnswer(QStringLiteral("typed too"));
    int prompts = 0;
    menus::dialogs::setWhileShown([&](const menus::dialogs::Shown &shown) {
        if (shown.prompt && ++prompts == endInPrompt)
            end();
    });
    window->show();
    QTest::mouseClick(window->findChild<QWidget *>(entry), Qt::LeftButton);
    menus::dialogs::setWhileShown({}); // it holds this call's locals
    return prompts;
}

inline QByteArray settingsBytes() {
    QFile file(settings::settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeSettingsBytes(const QByteArray &bytes) {
    QFile file(settings::settingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QString setting(const char *key) {
    return settings::getFromIni(settings::kSection, QLatin1String(key), settings::settingsPath());
}

inline void setSetting(const char *key, const QString &value) {
    settings::writeToIni(settings::kSection, QLatin1String(key), value, settings::settingsPath());
}

// The keys of the raw file, in the order they stand there.
inline QList<QByteArray> settingsKeys() {
    QList<QByteArray> keys;
    for (const QByteArray &line : settingsBytes().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            keys << line.left(equals).trimmed().toUpper();
    }
    return keys;
}

// The reference lines, byte for byte as they reach the room, with the
// style at its first-start defaults.
namespace example {
inline const QByteArray kEngaged =
    "</i></u></b><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  zorvel  "
    "-:-<font color=#00000C> idl\xe9 s\xe8ssi\xf8n -:- <font color=#009900> \xe9\xf1g\xe1g\xe8"
    "d<font color=#00000C>.. <font color=#009900>/\xaf\\<font color=#FFFFFC>";
// Handle frobble, Label4 showing 3, "lastidle" 0:12, minsused 42.
inline const QList<QByteArray> kStats = {
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> zorvel "
    "st\xe0ts -:- id: <font color=#009900>frobble -:- <font color=#00000C>l\xf8\xe0"
    "ds: <font color=#009900>3<font color=#00000C>..<font color=#009900> /\xaf\\<font "
    "color=#FFFFFC>",
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> "
    "styl\xe9:<font color=#009900> def\xe0\xf9lt -:- <font color=#00000C>styl\xe9s: <font "
    "color=#009900>25<font color=#00000C>..<font color=#009900> /\xaf\\<font color=#FFFFFC>",
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> \xe0scii "
    "c\xf2l\xf3r:<font color=#009900> 009900 -:- <font color=#00000C>f\xf8nt c\xf2l\xf3r: <font "
    "color=#009900>00000C<font color=#00000C>..<font color=#009900> /\xaf\\<font color=#FFFFFC>",
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> l\xe2st "
    "idl\xe9: <font color=#009900>0:12 -:- <font color=#00000C>mi\xf1s \xf9s\xe9"
    "d: <font color=#009900>42<font color=#00000C>..<font color=#009900> /\xaf\\<font "
    "color=#FFFFFC>",
};
// The new handle frobble.
inline const QByteArray kHandle =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C> h\xe0\xf1"
    "dl\xe8 ch\xe2\xf1g\xe9"
    "d t\xf8: <font color=#009900>frobble <font color=#00000C>..<font color=#009900> /\xaf\\<font "
    "color=#FFFFFC>";
// The main window's closing line.
inline const QByteArray kUnload =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xaf\\<font color=#00000C>  zorvel -:- "
    "<font color=#009900>brondel<font color=#00000C> -:- <u>\xf9\xf1l\xf8\xe0"
    "d\xe9"
    "d</u> <font color=#009900>-:- <font color=#00000C>quibbet  <font color=#009900>/\xaf\\<font "
    "color=#FFFFFC>";

// The disengaged line differs from the engaged one in its one word.
inline QByteArray disengaged() {
    QByteArray line = kEngaged;
    return line.replace("> \xe9\xf1g\xe1g\xe8"
                        "d",
                        "> dis\xe9\xf1g\xe1g\xe8"
                        "d");
}
} // namespace example
