#include "form1.h"

#include "captioncounts.h"
#include "chatlink.h"
#include "form1lines.h"
#include "forms.h"
#include "goodbye.h"
#include "pause.h"
#include "playwav.h"
#include "settingsfile.h"
#include "windowroutines.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace app {

using settings::GetFromINI;
using settings::kSection;
using settings::settingsPath;
using settings::WriteToINI;

namespace {
QFont arialNarrow() {
    QFont f(QStringLiteral("Arial Narrow"));
    f.setPointSizeF(6.75);
    return f;
}

QFont arialBold() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    f.setBold(true);
    return f;
}

void setTextColour(QLabel *label, const QColor &colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

// A thin line of the frame; it takes no mouse, so a press on it reaches the window.
void addLine(QWidget *form, const QRect &rect, const QColor &colour) {
    auto *line = new QFrame(form);
    line->setGeometry(rect);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, colour);
    line->setPalette(p);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString read(const char *key) { return GetFromINI(kSection, key, settingsPath()); }
void write(const char *key, const QString &value) {
    WriteToINI(kSection, key, value, settingsPath());
}
} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("zorvel"));
    setFixedSize(twipsToPixels(615), twipsToPixels(225));
    move(twipsToPixels(6810), twipsToPixels(3495));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);

    // Drawn bottom to top, as the design stacks them.
    Label3 = addLabel("Label3", QString(), 0, 200, 615, 45);
    Label3->setAutoFillBackground(true);
    QPalette grey = Label3->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    Label3->setPalette(grey);

    Label1 = addLabel("Label1", QStringLiteral("               w"), -360, 0, 615, 255);
    Label1->setAutoFillBackground(true);
    QPalette button = Label1->palette();
    button.setColor(QPalette::Window, palette().color(QPalette::WindowText));
    button.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(button);
    Label1->setFont(arialNarrow());

    Label10 = addLabel("Label10", QStringLiteral(" -"), -45, -36, 135, 255);
    Label9 = addLabel("Label9", QStringLiteral("+"), 165, -27, 135, 255);
    for (QLabel *mark : {Label9, Label10}) {
        mark->setFont(arialBold());
        setTextColour(mark, QColor(128, 128, 0));
    }

    hours = addLabel("hours", QStringLiteral("0"), 360, 0, 135, 255);
    blinker = addLabel("blinker", QStringLiteral(":"), 420, 0, 60, 210);
    mins = addLabel("mins", QStringLiteral("00"), 465, 0, 135, 180);
    for (QLabel *clock : {hours, blinker, mins}) {
        clock->setFont(arialNarrow());
        setTextColour(clock, Qt::white);
    }

    addLine(this, QRect(0, 0, 1, height()), QColor(128, 128, 128));
    addLine(this, QRect(0, 0, width(), 1), QColor(128, 128, 128));
    addLine(this, QRect(twipsToPixels(600), 0, 1, height()), QColor(128, 128, 128));

    // The current settings record, the previous load count and the minutes
    // used: captions below the client area, never seen.
    const int hiddenTop = 300;
    Label12 = addLabel("Label12", QString(), 0, hiddenTop, 615, 255);
    Label8 = addLabel("Label8", QString(), 0, hiddenTop + 255, 615, 255);
    Label11 = addLabel("Label11", QString(), 0, hiddenTop + 510, 615, 255);
    Label5 = addLabel("Label5", QString(), 0, hiddenTop + 765, 615, 255);
    Label6 = addLabel("Label6", QString(), 0, hiddenTop + 1020, 615, 255);
    Label7 = addLabel("Label7", QString(), 0, hiddenTop + 1275, 615, 255);
    Label4 = addLabel("Label4", QStringLiteral("Label4"), 0, hiddenTop + 1530, 615, 255);
    minsused = addLabel("minsused", QStringLiteral("0"), 0, hiddenTop + 1785, 615, 255);

    // Every label takes the presses on it; only the menu button and the clock
    // do something with them.
    for (QLabel *l : findChildren<QLabel *>())
        l->installEventFilter(this);

    MiUs = new QTimer(this);
    MiUs->setObjectName("MiUs");
    MiUs->setInterval(60000);
    MiUs->setTimerType(Qt::PreciseTimer);
    connect(MiUs, &QTimer::timeout, this, &Form1::MiUs_Timer);
    MiUs->start();

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(59000);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

QLabel *Form1::addLabel(const char *name, const QString &caption, int left, int top, int width,
                        int height) {
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(int(std::floor(left / double(kTwipsPerPixel))),
                       int(std::floor(top / double(kTwipsPerPixel))), twipsToPixels(width),
                       twipsToPixels(height));
    return label;
}

void Form1::Form_Load() {
    hostlink::StayOnTop(this);

    if (!settings::FileExists(settingsPath())) {
        Label12->setText(QStringLiteral("defàùlt"));
        Label6->setText(QStringLiteral("-:-"));
        Label7->setText(QStringLiteral("/¯\\"));
        Label5->setText(QStringLiteral("/¯\\"));
        Label8->setText(QStringLiteral("00000C"));
        Label11->setText(QStringLiteral("009900"));
        write("preset", Label12->text());
        write("pfcolor", Label8->text());
        write("pacolor", Label11->text());
        write("pmascii", Label6->text());
        write("pfascii", Label5->text());
        write("pbascii", Label7->text());
        write("handle", QStringLiteral("frobble"));
    }

    const QString handle = read("handle");
    const QString style = read("preset");
    settings::ReloadSettings(m_record);

    if (const auto previous = settings::countLoad())
        Label4->setText(*previous);

    hostlink::ChatSend(loadLine1(m_record));
    hostlink::Pause(hostlink::wholeSeconds(0.57));
    hostlink::ChatSend(loadLine2(m_record, handle, style));
}

void Form1::MiUs_Timer() {
    hostlink::processPendingEvents();
    minsused->setText(numberText(1 + captionNumber(minsused->text())));
}

void Form1::Timer1_Timer() {
    settings::ReloadSettings(m_record);
    const QString handle = read("handle");
    const QString reason = read("reason");
    // The "minsused" key is not copied into the running count: nothing writes
    // it, so it would blank the count every tick.

    hostlink::processPendingEvents();

    mins->setText(numberText(captionNumber(mins->text()) + 1));
    if (mins->text() == QLatin1String("59")) {
        hours->setText(numberText(captionNumber(hours->text()) + 1));
        mins->setText(QStringLiteral("0"));
    }

    hostlink::ChatSend(idleLine(m_record, handle, hours->text(), mins->text()));
    hostlink::Pause(1);
    hostlink::ChatSend(messageLine(m_record, reason));
}

void Form1::Form_Unload() {
    settings::ReloadSettings(m_record);
    const QString handle = read("handle");
    const QString style = Label12->text(); // "preset" as just read

    // Posted even once the program is ending, and the last lines the room gets.
    hostlink::sayGoodbye(unloadLine(m_record), 1,
                         [&] { return identityLine(m_record, handle, style); });

    // Slide left until the right edge has passed the screen's left edge, then
    // right across the screen; each slide moves at least once.
    constexpr int step = 300;
    int left = x() * kTwipsPerPixel;
    do {
        hostlink::processPendingEvents();
        left -= step;
        move(twipsToPixels(left), y());
    } while (left >= -width() * kTwipsPerPixel);
    do {
        hostlink::processPendingEvents();
        left += step;
        move(twipsToPixels(left), y());
    } while (left <= screenWidthTwips());
}

int Form1::screenWidthTwips() const {
    const QScreen *s = screen();
    return (s ? s->geometry().width() : 0) * kTwipsPerPixel;
}

void Form1::drag() {
    setCursor(Qt::SizeAllCursor);
    hostlink::FormDrag(this);
    unsetCursor();
}

void Form1::hours_MouseDown() { drag(); }
void Form1::mins_MouseDown() { drag(); }
void Form1::blinker_MouseDown() { drag(); }

void Form1::Form_MouseDown() {
    if (m_forms) {
        m_forms->form3()->hide();
        m_forms->form4()->hide();
    }
    drag();
}

void Form1::openMenu(QWidget *menu, QWidget *alsoHide) {
    m_forms->form3()->hide();
    menu->move(x() + twipsToPixels(720), y()); // just right of this window, tops level
    hostlink::Pause(hostlink::wholeSeconds(0.22));
    menu->show();
    PlayWav(clickSoundPath());
    if (alsoHide)
        alsoHide->hide();
    m_forms->unloadForm2();
}

void Form1::Label1_MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton && m_forms)
        openMenu(m_forms->form4(), nullptr);
}

void Form1::Label1_MouseUp(Qt::MouseButton button) {
    if (button == Qt::LeftButton && m_forms)
        openMenu(m_forms->form3(), m_forms->form4());
}

void Form1::mousePressEvent(QMouseEvent *event) {
    event->accept();
    Form_MouseDown();
}

void Form1::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click does not drag again.
    event->accept();
}

bool Form1::eventFilter(QObject *watched, QEvent *event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
    // The second press of a double click is a double click, not a press.
    const bool press = type == QEvent::MouseButtonPress;
    if (type == QEvent::MouseButtonDblClick)
        return true;
    if (watched == Label1) {
        if (press)
            Label1_MouseDown(button);
        else
            Label1_MouseUp(button);
    } else if (press && watched == hours) {
        hours_MouseDown();
    } else if (press && watched == mins) {
        mins_MouseDown();
    } else if (press && watched == blinker) {
        blinker_MouseDown();
    }
    return true;
}

void Form1::closeEvent(QCloseEvent *event) {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    event->accept();
}

} // namespace app
