#include "startup.h"

#include "form1.h"
#include "forms.h"
#include "outsideend.h"
#include "settingsfile.h"
#include "termination.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

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
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvel"));
    prepareStart();
    // A request to end that comes while the main window loads waits for the
    // registry, so the room still hears the closing lines.
    platform::holdTermination();

    Form1 form1;
    form1.Timer1->setInterval(settings.idleTickMs);
    form1.Form_Load();
    menus::Forms forms(&form1);
    form1.setForms(&forms);
    menus::unloadOnOutsideEnd(forms);
    form1.show();
    if (settings.attach)
        settings.attach(form1, forms);
    return QApplication::exec();
}

} // namespace app
