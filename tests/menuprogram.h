#pragma once

// What the menu tests share: the program as start-up leaves it, a clock the
// tests own, the settings file's raw bytes, and the reference lines.

#include "dialogs.h"
#include "mainstrip.h"
#include "optionswindow.h"
#include "pause.h"
#include "recordingroom.h"
#include "sessionmenu.h"
#include "settingsfile.h"
#include "startup.h"
#include "stepclock.h"
#include "testenv.h"
#include "windowregistry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <memory>

// The main window loaded as start-up loads it, with the window registry beside
// it. The end of the program is counted, not done, unless `realEnd`.
struct MenuProgram {
    explicit MenuProgram(bool realEnd = false) {
        app::prepareStart();
        mainStrip.load();
        if (!realEnd)
            windows.shutdown().setEndProgram([this] { ++ends; });
    }
    menus::SessionMenu *sessionMenu() { return windows.sessionMenu(); }
    menus::OptionsWindow *optionsWindow() { return windows.optionsWindow(); }

    session::SessionModel session;
    app::MainStrip mainStrip{session};
    app::WindowRegistry windows{session, &mainStrip, mainStrip.minuteCounter, mainStrip.idleTicker};
    int ends = 0;
};

// One test's world: fresh folders, the test's own clock from 1000.0, dialogs
// answered from a script, a recording room, and the program loaded with its
// load lines cleared.
struct MenuFixture {
    void setUp(bool withProgram = true) {
        env = std::make_unique<TestEnv>();
        clock.setNow(1000.0);
        hostlink::setPauseClock(&clock);
        menus::dialogs::resetScript();
        room = std::make_unique<RecordingRoom>();
        if (withProgram)
            program = std::make_unique<MenuProgram>();
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
    std::unique_ptr<MenuProgram> program;
};

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
