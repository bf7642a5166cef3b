#include "sessionmenu.h"

#include "hostlink/chatlink.h"
#include "hostlink/pacing.h"
#include "hostlink/pause.h"
#include "hostlink/windowroutines.h"
#include "menus/dialogs.h"
#include "menus/menuhost.h"
#include "menus/menulines.h"
#include "menus/optionswindow.h"
#include "settings/settingsfile.h"
#include "settings/settingskeys.h"
#include "widgets/entrylabel.h"

#include <QColor>
#include <QMouseEvent>
#include <QTimer>

namespace menus {

namespace {
constexpr int kWidth = 495;
constexpr int kHeight = 1395;

void setTimerEnabled(QTimer *timer, bool enabled) {
    if (!timer)
        return;
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}

QString read(QLatin1String key) {
    return settings::getFromIni(settings::kSection, key, settings::settingsPath());
}

void write(QLatin1String key, const QString &value) {
    settings::writeToIni(settings::kSection, key, value, settings::settingsPath());
}
} // namespace

SessionMenu::SessionMenu(MenuHost &windows)
    : MenuWindow("Form3", kWidth, kHeight), m_windows(windows) {
    const QColor rust(192, 64, 0);
    idleOnEntry = addRow("Label1", "   idle on", 0, rust);
    idleOffEntry = addRow("Label3", " idle off", 240, QColor(192, 0, 0));
    editReasonEntry = addRow("Label2", " edit msg", 480, rust);
    statisticsEntry = addRow("Label5", "    stats", 720, rust);
    unloadEntry = addRow("Label6", "   unload", 960, rust);
    cancelEntry = addRow("Label7", "   cancel", 1200, rust);
    idleOffEntry->setEnabled(false);

    using widgets::EntryLabel;
    connect(idleOnEntry, &EntryLabel::clicked, this, &SessionMenu::goIdle);
    // A disabled entry gets no mouse events of its own; the double click of
    // "idle on" is taken here, as its click has just disabled it.
    idleOnEntry->installEventFilter(this);
    connect(idleOffEntry, &EntryLabel::clicked, this, &SessionMenu::comeBack);
    connect(editReasonEntry, &EntryLabel::clicked, this, &SessionMenu::editReason);
    connect(statisticsEntry, &EntryLabel::clicked, this, &SessionMenu::showStatistics);
    connect(unloadEntry, &EntryLabel::clicked, this, &SessionMenu::unload);
    connect(cancelEntry, &EntryLabel::clicked, this, &SessionMenu::cancel);
}

void SessionMenu::load() {
    hostlink::stayOnTop(this);
    m_windows.optionsWindow()->hide();
}

void SessionMenu::slideAway() {
    // The bound is the window's width, not its height.
    slideOut(Slide::Up, -widthTwips());
}

bool SessionMenu::eventFilter(QObject *watched, QEvent *event) {
    if (watched != idleOnEntry)
        return MenuWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease) {
        m_idleOnClicked = false; // set again if this release clicks
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_idleOnClicked)
            stopIdleTick();
        m_idleOnClicked = false;
        return true;
    }
    return false;
}

void SessionMenu::goIdle() {
    m_idleOnClicked = true;
    hide();
    setTimerEnabled(m_windows.idleTicker(), true);
    hostlink::chatSend(idleSessionLine(m_windows.session(), true));
    hostlink::setAway(true, read(settings::keys::kReason));
    idleOffEntry->setEnabled(true);
    idleOnEntry->setEnabled(false);
    Q_EMIT idleSwitched(true);
}

void SessionMenu::stopIdleTick() {
    // The click of the same double click has already switched idle mode on.
    setTimerEnabled(m_windows.idleTicker(), false);
}

void SessionMenu::comeBack() {
    hide();
    session::SessionModel &session = m_windows.session();
    setTimerEnabled(m_windows.idleTicker(), false);
    hostlink::chatSend(idleSessionLine(session, false));
    hostlink::setAway(false);
    // The clock is kept, as the strip shows it, before it is reset.
    write(settings::keys::kLastIdle, session.hours() + QLatin1Char(':') + session.minutes());
    idleOnEntry->setEnabled(true);
    session.setHours(QStringLiteral("0"));
    session.setMinutes(QStringLiteral("00"));
    idleOffEntry->setEnabled(false);
    Q_EMIT idleSwitched(false);
}

void SessionMenu::editReason() {
    hide();
    if (const auto reason = m_windows.ask(QStringLiteral("What is your Reason for being Idle?")))
        write(settings::keys::kReason, *reason);
}

void SessionMenu::showStatistics() {
    hide();
    m_windows.optionsWindow()->hide();
    session::SessionModel &record = m_windows.session();
    settings::reloadSettings(record);
    const QString handle = read(settings::keys::kHandle);
    const QString lastIdle = read(settings::keys::kLastIdle);

    // Each line reads the model when its turn comes: whatever runs during a
    // pause (an idle tick, an options command) shows in the lines after it.
    using namespace hostlink::pacing;
    hostlink::pause(hostlink::wholeSeconds(kBeforeStatistics));
    hostlink::chatSend(statsLoadsLine(record, handle, record.previousLoads()));
    hostlink::pause(kBeforeStyleStatistics);
    hostlink::chatSend(statsStyleLine(record));
    hostlink::pause(hostlink::wholeSeconds(kBeforeColourStatistics));
    hostlink::chatSend(statsColoursLine(record));
    hostlink::pause(kBeforeIdleStatistics);
    hostlink::chatSend(statsIdleLine(record, lastIdle, record.minutesUsed()));
}

void SessionMenu::unload() {
    // This window may be destroyed by then: nothing here touches it after.
    m_windows.unloadProgram();
}

void SessionMenu::cancel() { hide(); }

} // namespace menus
