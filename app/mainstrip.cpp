#include "mainstrip.h"

#include "app/playwav.h"
#include "app/programlines.h"
#include "app/windowregistry.h"
#include "hostlink/chatlink.h"
#include "hostlink/goodbye.h"
#include "hostlink/pacing.h"
#include "hostlink/pause.h"
#include "hostlink/windowroutines.h"
#include "settings/settingsfile.h"
#include "settings/storedsettings.h"
#include "widgets/twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

namespace app {

using widgets::kTwipsPerPixel;
using widgets::twipsToPixels;

namespace {
// The strip's design, in twips: its size, its place on the screen, the
// divider left of the right edge, and where the menus open.
constexpr int kWidth = 615;
constexpr int kHeight = 225;
constexpr int kDesignLeft = 6810;
constexpr int kDesignTop = 3495;
constexpr int kDividerLeft = 600;
constexpr int kMenuOffset = 720; // just right of the strip
// The hidden labels' rows, below the client area, and their height.
constexpr int kHiddenTop = 300;
constexpr int kRowHeight = 255;
// How far each step of the closing slide moves.
constexpr int kSlideStep = 300;

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
} // namespace

MainStrip::MainStrip(session::SessionModel &session, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_session(session) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("zorvel"));
    setFixedSize(twipsToPixels(kWidth), twipsToPixels(kHeight));
    move(twipsToPixels(kDesignLeft), twipsToPixels(kDesignTop));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);

    // Drawn bottom to top, as the design stacks them.
    greyStrip = addLabel("Label3", QString(), 0, 200, kWidth, 45);
    greyStrip->setAutoFillBackground(true);
    QPalette grey = greyStrip->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    greyStrip->setPalette(grey);

    menuButton =
        addLabel("Label1", QStringLiteral("               w"), -360, 0, kWidth, kRowHeight);
    menuButton->setAutoFillBackground(true);
    QPalette button = menuButton->palette();
    button.setColor(QPalette::Window, palette().color(QPalette::WindowText));
    button.setColor(QPalette::WindowText, Qt::white);
    menuButton->setPalette(button);
    menuButton->setFont(arialNarrow());

    minusMark = addLabel("Label10", QStringLiteral(" -"), -45, -36, 135, kRowHeight);
    plusMark = addLabel("Label9", QStringLiteral("+"), 165, -27, 135, kRowHeight);
    for (QLabel *mark : {plusMark, minusMark}) {
        mark->setFont(arialBold());
        setTextColour(mark, QColor(128, 128, 0));
    }

    hoursLabel = addLabel("hours", m_session.hours(), 360, 0, 135, kRowHeight);
    colonLabel = addLabel("blinker", QStringLiteral(":"), 420, 0, 60, 210);
    minutesLabel = addLabel("mins", m_session.minutes(), 465, 0, 135, 180);
    for (QLabel *clock : {hoursLabel, colonLabel, minutesLabel}) {
        clock->setFont(arialNarrow());
        setTextColour(clock, Qt::white);
    }

    addLine(this, QRect(0, 0, 1, height()), QColor(128, 128, 128));
    addLine(this, QRect(0, 0, width(), 1), QColor(128, 128, 128));
    addLine(this, QRect(twipsToPixels(kDividerLeft), 0, 1, height()), QColor(128, 128, 128));

    addHiddenLabels();
    connect(&m_session, &session::SessionModel::changed, this, &MainStrip::showChange);

    // Every label takes the presses on it; only the menu button and the clock
    // do something with them.
    for (QLabel *l : findChildren<QLabel *>())
        l->installEventFilter(this);
}

void MainStrip::addHiddenLabels() {
    // The current settings record, the previous load count and the minutes
    // used: captions below the client area, never seen.
    using Item = session::SessionModel::Item;
    int row = 0;
    const auto addHidden = [&](const char *name, const QString &caption) {
        return addLabel(name, caption, 0, kHiddenTop + kRowHeight * row++, kWidth, kRowHeight);
    };
    styleNameLabel = addHidden("Label12", m_session.text(Item::StyleName));
    fontColourLabel = addHidden("Label8", m_session.text(Item::FontColour));
    asciiColourLabel = addHidden("Label11", m_session.text(Item::AsciiColour));
    frontAsciiLabel = addHidden("Label5", m_session.text(Item::FrontAscii));
    middleAsciiLabel = addHidden("Label6", m_session.text(Item::MiddleAscii));
    backAsciiLabel = addHidden("Label7", m_session.text(Item::BackAscii));
    previousLoadsLabel = addHidden("Label4", m_session.previousLoads());
    minutesUsedLabel = addHidden("minsused", m_session.minutesUsed());
}

QLabel *MainStrip::addLabel(const char *name, const QString &caption, int left, int top, int width,
                            int height) {
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(widgets::twipsToPixelsDown(left), widgets::twipsToPixelsDown(top),
                       twipsToPixels(width), twipsToPixels(height));
    return label;
}

void MainStrip::showChange(session::SessionModel::Item item, const QString &text) {
    using Item = session::SessionModel::Item;
    switch (item) {
    case Item::StyleName:
        return styleNameLabel->setText(text);
    case Item::FontColour:
        return fontColourLabel->setText(text);
    case Item::AsciiColour:
        return asciiColourLabel->setText(text);
    case Item::FrontAscii:
        return frontAsciiLabel->setText(text);
    case Item::MiddleAscii:
        return middleAsciiLabel->setText(text);
    case Item::BackAscii:
        return backAsciiLabel->setText(text);
    case Item::FontFace: {
        // The labels carry fonts of their own, so the window's face shows nowhere.
        QFont face = font();
        face.setFamily(text);
        return setFont(face);
    }
    case Item::Hours:
        return hoursLabel->setText(text);
    case Item::Minutes:
        return minutesLabel->setText(text);
    case Item::MinutesUsed:
        return minutesUsedLabel->setText(text);
    case Item::PreviousLoads:
        return previousLoadsLabel->setText(text);
    }
}

void MainStrip::load() {
    hostlink::stayOnTop(this);

    const settings::StoredSettings stored;
    if (!settings::fileExists(settings::settingsPath())) {
        using settings::Field;
        m_session.setCaption(Field::StyleName, QStringLiteral("defàùlt"));
        m_session.setCaption(Field::MiddleAscii, QStringLiteral("-:-"));
        m_session.setCaption(Field::BackAscii, QStringLiteral("/¯\\"));
        m_session.setCaption(Field::FrontAscii, QStringLiteral("/¯\\"));
        m_session.setCaption(Field::FontColour, QStringLiteral("00000C"));
        m_session.setCaption(Field::AsciiColour, QStringLiteral("009900"));
        for (const Field field : {Field::StyleName, Field::FontColour, Field::AsciiColour,
                                  Field::MiddleAscii, Field::FrontAscii, Field::BackAscii})
            stored.setField(field, m_session.caption(field));
        stored.setHandle(QStringLiteral("frobble"));
    }

    const QString handle = stored.handle();
    const QString style = stored.field(settings::Field::StyleName);
    settings::reloadSettings(m_session);

    if (const auto previous = settings::countLoad())
        m_session.setPreviousLoads(*previous);

    hostlink::chatSend(loadLine(m_session), hostlink::LineKind::Load);
    hostlink::pause(hostlink::wholeSeconds(hostlink::pacing::kBetweenLoadLines));
    hostlink::chatSend(loadIdentityLine(m_session, handle, style), hostlink::LineKind::Load);
}

void MainStrip::unload() {
    settings::reloadSettings(m_session);
    const QString handle = settings::StoredSettings().handle();
    const QString style = m_session.caption(settings::Field::StyleName); // "preset" as just read

    // Posted even once the program is ending, and the last lines the room gets.
    hostlink::sayGoodbye(unloadLine(m_session), hostlink::pacing::kBetweenClosingLines,
                         [&] { return unloadIdentityLine(m_session, handle, style); });

    // Slide left until the right edge has passed the screen's left edge, then
    // right across the screen; each slide moves at least once.
    int left = x() * kTwipsPerPixel;
    do {
        hostlink::processPendingEvents();
        left -= kSlideStep;
        move(twipsToPixels(left), y());
    } while (left >= -width() * kTwipsPerPixel);
    do {
        hostlink::processPendingEvents();
        left += kSlideStep;
        move(twipsToPixels(left), y());
    } while (left <= screenWidthTwips());
}

int MainStrip::screenWidthTwips() const {
    const QScreen *s = screen();
    return (s ? s->geometry().width() : 0) * kTwipsPerPixel;
}

void MainStrip::drag() {
    setCursor(Qt::SizeAllCursor);
    hostlink::dragWindow(this);
    unsetCursor();
}

void MainStrip::pressClock() { drag(); }

void MainStrip::pressSurface() {
    if (m_windows) {
        m_windows->sessionMenu()->hide();
        m_windows->optionsWindow()->hide();
    }
    drag();
}

void MainStrip::openMenu(QWidget *menu, QWidget *alsoHide) {
    m_windows->sessionMenu()->hide();
    menu->move(x() + twipsToPixels(kMenuOffset), y()); // tops level
    hostlink::pause(hostlink::wholeSeconds(hostlink::pacing::kBeforeMenuShows));
    menu->show();
    playWav(clickSoundPath());
    if (alsoHide)
        alsoHide->hide();
    m_windows->unloadStyleShop();
}

void MainStrip::pressMenuButton(Qt::MouseButton button) {
    if (button == Qt::RightButton && m_windows)
        openMenu(m_windows->optionsWindow(), nullptr);
}

void MainStrip::releaseMenuButton(Qt::MouseButton button) {
    if (button == Qt::LeftButton && m_windows)
        openMenu(m_windows->sessionMenu(), m_windows->optionsWindow());
}

void MainStrip::mousePressEvent(QMouseEvent *event) {
    event->accept();
    pressSurface();
}

void MainStrip::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click does not drag again.
    event->accept();
}

bool MainStrip::eventFilter(QObject *watched, QEvent *event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
    // The second press of a double click is a double click, not a press.
    const bool press = type == QEvent::MouseButtonPress;
    if (type == QEvent::MouseButtonDblClick)
        return true;
    if (watched == menuButton) {
        if (press)
            pressMenuButton(button);
        else
            releaseMenuButton(button);
    } else if (press &&
               (watched == hoursLabel || watched == minutesLabel || watched == colonLabel)) {
        pressClock();
    }
    return true;
}

void MainStrip::closeEvent(QCloseEvent *event) {
    if (!m_unloaded) {
        m_unloaded = true;
        unload();
    }
    event->accept();
}

} // namespace app
