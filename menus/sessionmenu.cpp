#include "sessionmenu.h"

#include "control/sessioncontroller.h"
#include "hostlink/chatlink.h"
#include "hostlink/pacing.h"
#include "hostlink/pause.h"
#include "hostlink/windowroutines.h"
#include "menus/dialogs.h"
#include "menus/menuhost.h"
#include "menus/menulines.h"
#include "menus/optionswindow.h"
#include "settings/settingsfile.h"
#include "settings/storedsettings.h"
#include "widgets/entrylabel.h"

#include <QColor>
#include <QMouseEvent>

namespace menus {

namespace {
constexpr int kSessionMenuWidth = 495;
constexpr int kSessionMenuHeight = 1395;
} // namespace

SessionMenu::SessionMenu(MenuHost &windows)
    : MenuWindow("Form3", kSessionMenuWidth, kSessionMenuHeight), m_windows(windows) {
    const QColor rust(192, 64, 0);
    idleOnEntry = addRow("Label1", "   idle on", 0, rust);
    idleOffEntry = addRow("Label3", " idle off", 240, QColor(192, 0, 0));
    editReasonEntry = addRow("Label2", " edit msg", 480, rust);
    statisticsEntry = addRow("Label5", "    stats", 720, rust);
    unloadEntry = addRow("Label6", "   unload", 960, rust);
    cancelEntry = addRow("Label7", "   cancel", 1200, rust);
    showIdle(m_windows.controller().isIdle());
    connect(&m_windows.controller(), &control::SessionController::idleChanged, this,
            &SessionMenu::showIdle);

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

void SessionMenu::showIdle(bool idle) {
    idleOnEntry->setEnabled(!idle);
    idleOffEntry->setEnabled(idle);
}

void SessionMenu::goIdle() {
    m_idleOnClicked = true;
    hide();
    m_windows.controller().goIdle();
}

void SessionMenu::stopIdleTick() {
    // The click of the same double click has already switched idle mode on.
    m_windows.controller().stopIdleTick();
}

void SessionMenu::comeBack() {
    hide();
    m_windows.controller().comeBack();
}

void SessionMenu::editReason() {
    hide();
    if (const auto reason = m_windows.ask(QStringLiteral("What is your Reason for being Idle?")))
        m_windows.controller().setReason(*reason);
}

void SessionMenu::showStatistics() {
    hide();
    m_windows.optionsWindow()->hide();
    session::SessionModel &record = m_windows.session();
    settings::reloadSettings(record);
    const settings::StoredSettings stored;
    const QString handle = stored.handle();
    const QString lastIdle = stored.lastIdle();

    // Each line reads the model when its turn comes: whatever runs during a
    // pause (an idle tick, an options command) shows in the lines after it.
    using namespace hostlink::pacing;
    constexpr auto kStatistics = hostlink::LineKind::Statistics;
    hostlink::pause(hostlink::wholeSeconds(kBeforeStatistics));
    hostlink::chatSend(statsLoadsLine(record, handle, record.previousLoads()), kStatistics);
    hostlink::pause(kBeforeStyleStatistics);
    hostlink::chatSend(statsStyleLine(record), kStatistics);
    hostlink::pause(hostlink::wholeSeconds(kBeforeColourStatistics));
    hostlink::chatSend(statsColoursLine(record), kStatistics);
    hostlink::pause(kBeforeIdleStatistics);
    hostlink::chatSend(statsIdleLine(record, lastIdle, record.minutesUsed()), kStatistics);
}

void SessionMenu::unload() {
    // This window may be destroyed by then: nothing here touches it after.
    m_windows.unloadProgram();
}

void SessionMenu::cancel() { hide(); }

} // namespace menus
