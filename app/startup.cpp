#include "startup.h"

#include "app/autoidlehook.h"
#include "app/commandline.h"
#include "app/mainstrip.h"
#include "app/windowregistry.h"
#include "control/sessioncontroller.h"
#include "platform/displayserver.h"
#include "platform/termination.h"
#include "settings/settingsfile.h"

#include <QApplication>
#include <QFont>

namespace app {

void prepareStart() {
    // The windows are drawn in Arial Narrow and Arial; Debian ships their
    // metric twins.
    QFont::insertSubstitution(QStringLiteral("Arial Narrow"),
                              QStringLiteral("Liberation Sans Narrow"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    // The settings folder always existed where the program came from; a first
    // run here must not lose its defaults for want of it.
    settings::ensureSettingsFolder();
}

int run(int argc, char **argv, const RunSettings &settings) {
    // --help, --version and mistakes are answered before any window system
    // is needed.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = parseCommandLine(arguments);
    if (command.answer != CommandLine::Answer::Start)
        return answerCommandLine(command);
    platform::chooseDisplayServer();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvel"));
    prepareStart();
    // A request to end that comes this early waits until the load can hear
    // it, so the room still hears the closing lines.
    platform::holdTermination();

    session::SessionModel session;
    control::SessionController controller(session);
    controller.idleTicker().setInterval(settings.idleTickMs);
    MainStrip mainStrip(session);
    WindowRegistry windows(session, controller, &mainStrip);
    mainStrip.setWindows(&windows);
    // Heard from the load on: a request during the pause between the load
    // lines (the registry is written by then) drops the second one.
    windows.shutdown().watchOutsideEnd();
    mainStrip.load();
    // After the load, which gives a settings file that does not exist yet
    // its defaults: one that exists is never given them.
    if (command.autoIdleMinutes)
        storeAutoIdleMinutes(*command.autoIdleMinutes);
    if (windows.isEnding()) {
        // Unloaded already, before any event loop ran to end.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return 0;
    }
    mainStrip.show();
    // Once the load lines are out: going idle never comes between them.
    const auto autoIdle = startAutoIdle(windows, settings.autoIdleMinute);
    if (settings.attach)
        settings.attach(mainStrip, windows);
    return QApplication::exec();
}

} // namespace app
