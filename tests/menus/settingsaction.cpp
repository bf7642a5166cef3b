// A child for the write failure tests: one of the program's own writes, made
// in a process whose limits and user the test chooses. The program's own
// reports of failed writes go to standard error as ever.
//
//   settingsaction key     the profile function writes REASON; prints "<ok> <error code>"
//   settingsaction style   the style shop applies the catalogue's first style (six writes)
//   settingsaction handle  the options window's edit handle, answered "frobbledy"
//   settingsaction count   a load is counted
#include "menus/dialogs.h"
#include "menus/optionswindow.h"
#include "platform/profile.h"
#include "settings/settingsfile.h"
#include "styleshop/catalogue.h"
#include "tests/menus/testmenuhost.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    const QByteArray action = argc == 2 ? QByteArray(argv[1]) : QByteArray();
    if (action == "key") {
        platform::ProfileError error = platform::ProfileError::None;
        QString reason;
        const bool ok = platform::writePrivateProfileString(
            "zorvel", "REASON", "back at five", settings::settingsPath(), &error, &reason);
        std::printf("%d %d\n", int(ok), int(error));
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(reason));
    } else if (action == "style") {
        settings::PlainRecord record;
        styleshop::applyStyle(styleshop::catalogue().front(), record);
    } else if (action == "handle") {
        TestMenuHost windows(TestMenuHost::Start::FileAsFound);
        menus::dialogs::setNextAnswer(QStringLiteral("frobbledy"));
        windows.optionsWindow()->editHandle();
    } else if (action == "count") {
        settings::countLoad();
    } else {
        return 2;
    }
    return 0;
}
