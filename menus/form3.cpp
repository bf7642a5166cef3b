#include "form3.h"

#include "chatlink.h"
#include "controls.h"
#include "dialogs.h"
#include "entrylabel.h"
#include "form4.h"
#include "forms.h"
#include "menulines.h"
#include "pause.h"
#include "settingsfile.h"
#include "windowroutines.h"

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

QString read(const char *key) {
    return settings::GetFromINI(settings::kSection, key, settings::settingsPath());
}

void write(const char *key, const QString &value) {
    settings::WriteToINI(settings::kSection, key, value, settings::settingsPath());
}
} // namespace

Form3::Form3(Forms &forms) : MenuWindow("Form3", kWidth, kHeight), m_forms(forms) {
    const QColor rust(192, 64, 0);
    Label1 = addRow("Label1", "   idle on", 0, rust);
    Label3 = addRow("Label3", " idle off", 240, QColor(192, 0, 0));
    Label2 = addRow("Label2", " edit msg", 480, rust);
    Label5 = addRow("Label5", "    stats", 720, rust);
    Label6 = addRow("Label6", "   unload", 960, rust);
    Label7 = addRow("Label7", "   cancel", 1200, rust);
    Label3->setEnabled(false);

    using styleshop::EntryLabel;
    connect(Label1, &EntryLabel::clicked, this, &Form3::Label1_Click);
    // A disabled entry gets no mouse events of its own; the double click of
    // "idle on" is taken here, as its click has just disabled it.
    Label1->installEventFilter(this);
    connect(Label3, &EntryLabel::clicked, this, &Form3::Label3_Click);
    connect(Label2, &EntryLabel::clicked, this, &Form3::Label2_Click);
    connect(Label5, &EntryLabel::clicked, this, &Form3::Label5_Click);
    connect(Label6, &EntryLabel::clicked, this, &Form3::Label6_Click);
    connect(Label7, &EntryLabel::clicked, this, &Form3::Label7_Click);
}

void Form3::Form_Load() {
    hostlink::StayOnTop(this);
    m_forms.form4()->hide();
}

void Form3::Form_Unload() {
    // The bound is the window's width, not its height.
    slideOut(Slide::Up, -widthTwips());
}

bool Form3::eventFilter(QObject *watched, QEvent *event) {
    if (watched != Label1)
        return MenuWindow::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease) {
        m_idleOnClicked = false; // set again if this release clicks
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_idleOnClicked)
            Label1_DblClick();
        m_idleOnClicked = false;
        return true;
    }
    return false;
}

void Form3::Label1_Click() {
    m_idleOnClicked = true;
    hide();
    QWidget *form1 = m_forms.form1();
    setTimerEnabled(hostlink::timer(form1, "Timer1"), true);
    hostlink::ChatSend(idleSessionLine(hostlink::LabelRecord(form1), true));
    hostlink::SetAway(true, read("reason"));
    Label3->setEnabled(true);
    Label1->setEnabled(false);
    Q_EMIT idleSwitched(true);
}

void Form3::Label1_DblClick() {
    // The click of the same double click has already switched idle mode on.
    setTimerEnabled(hostlink::timer(m_forms.form1(), "Timer1"), false);
}

void Form3::Label3_Click() {
    hide();
    QWidget *form1 = m_forms.form1();
    setTimerEnabled(hostlink::timer(form1, "Timer1"), false);
    hostlink::ChatSend(idleSessionLine(hostlink::LabelRecord(form1), false));
    hostlink::SetAway(false);
    // The clock is kept before it is reset.
    write("lastidle", hostlink::caption(form1, "hours") + hostlink::caption(form1, "blinker") +
                          hostlink::caption(form1, "mins"));
    Label1->setEnabled(true);
    hostlink::setCaption(form1, "hours", QStringLiteral("0"));
    hostlink::setCaption(form1, "mins", QStringLiteral("00"));
    Label3->setEnabled(false);
    Q_EMIT idleSwitched(false);
}

void Form3::Label2_Click() {
    hide();
    if (const auto reason = m_forms.ask(QStringLiteral("What is your Reason for being Idle?")))
        write("reason", *reason);
}

void Form3::Label5_Click() {
    hide();
    m_forms.form4()->hide();
    QWidget *form1 = m_forms.form1();
    hostlink::LabelRecord record(form1);
    settings::ReloadSettings(record);
    const QString handle = read("handle");
    const QString lastIdle = read("lastidle");

    // Each line reads the labels when its turn comes: whatever runs during a
    // pause (an idle tick, an options command) shows in the lines after it.
    hostlink::Pause(hostlink::wholeSeconds(0.36));
    hostlink::ChatSend(statsLoadsLine(record, handle, hostlink::caption(form1, "Label4")));
    hostlink::Pause(1);
    hostlink::ChatSend(statsStyleLine(record));
    hostlink::Pause(hostlink::wholeSeconds(1.46));
    hostlink::ChatSend(statsColoursLine(record));
    hostlink::Pause(1);
    hostlink::ChatSend(statsIdleLine(record, lastIdle, hostlink::caption(form1, "minsused")));
}

void Form3::Label6_Click() {
    // A second request while the program is ending (a click during a slide,
    // another signal) changes nothing.
    if (!m_forms.startEnding())
        return;
    // This window may be destroyed by any event loop the unloads below run
    // (the slides pause), so past its own unload nothing here may touch it.
    Forms &forms = m_forms;
    QWidget *form1 = forms.form1();
    setTimerEnabled(hostlink::timer(form1, "MiUs"), false);
    setTimerEnabled(hostlink::timer(form1, "Timer1"), false);
    forms.unloadForm3(); // this handler goes on after its own window's unload
    forms.unloadForm4();
    if (form1)
        form1->close(); // the closing lines and slides
    forms.unloadForm2();
    // The menus were only hidden until now, so the loop's own last-window
    // rule cannot be relied on to end it.
    forms.endProgram();
}

void Form3::Label7_Click() { hide(); }

} // namespace menus
