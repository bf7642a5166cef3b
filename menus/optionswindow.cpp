#include "optionswindow.h"

#include "hostlink/chatlink.h"
#include "hostlink/pacing.h"
#include "hostlink/pause.h"
#include "hostlink/windowroutines.h"
#include "menus/dialogs.h"
#include "menus/menuhost.h"
#include "menus/menulines.h"
#include "settings/storedsettings.h"
#include "widgets/entrylabel.h"

#include <QColor>

namespace menus {

namespace {
constexpr int kOptionsWidth = 495;
constexpr int kOptionsHeight = 1695;
// The slide down ends past this top, whatever the screen's size.
constexpr int kSlideBound = 7200;

const QString kCustom = QStringLiteral("cùstøm");

// Stores a field of the style in effect: the style settings always take the
// field after the command has set it.
void writeField(const session::SessionModel &session, settings::Field field) {
    settings::StoredSettings().setField(field, session.caption(field));
}

QString aboutText() {
    return QStringLiteral("i was kinda copying a program when i made this, but it ended up very "
                          "different.") +
           QString(17, u' ') +
           QStringLiteral("which makes it seem like i'm not good enough at programming, maybe "
                          "later though") +
           QString(42, u' ') + QStringLiteral("peace out");
}
} // namespace

OptionsWindow::OptionsWindow(MenuHost &windows)
    : MenuWindow("Form4", kOptionsWidth, kOptionsHeight), m_windows(windows) {
    const QColor rust(192, 64, 0);
    const QColor red(192, 0, 0);
    aboutEntry = addEntry("Label1", QStringLiteral("about"), QRect(75, 17, 375, 165), rust);
    stylesEntry = addRow("Label2", "   styles", 240, rust);
    editAsciiEntry = addRow("Label3", "   e ascii", 480, rust);
    editFontColourEntry = addRow("Label8", "  e fcolor", 720, red);
    editAsciiColourEntry = addRow("Label7", "  e acolor", 960, red);
    editHandleEntry = addRow("Label4", "  e handle", 1200, rust);
    cancelEntry = addRow("Label5", " cancel", 1440, rust);

    using widgets::EntryLabel;
    connect(aboutEntry, &EntryLabel::clicked, this, &OptionsWindow::showAbout);
    connect(stylesEntry, &EntryLabel::clicked, this, &OptionsWindow::openStyleShop);
    connect(editAsciiEntry, &EntryLabel::clicked, this, &OptionsWindow::editAscii);
    connect(editFontColourEntry, &EntryLabel::clicked, this, &OptionsWindow::editFontColour);
    connect(editAsciiColourEntry, &EntryLabel::clicked, this, &OptionsWindow::editAsciiColour);
    connect(editHandleEntry, &EntryLabel::clicked, this, &OptionsWindow::editHandle);
    connect(cancelEntry, &EntryLabel::clicked, this, &OptionsWindow::cancel);
}

void OptionsWindow::load() { hostlink::stayOnTop(this); }

void OptionsWindow::slideAway() { slideOut(Slide::Down, kSlideBound); }

void OptionsWindow::showAbout() {
    hide();
    MenuHost &windows = m_windows; // the window may be gone once the program ends
    dialogs::showMessage(aboutText(), dialogs::Icon::Information);
    if (windows.isEnding())
        return;
    dialogs::showMessage(QStringLiteral("crèdits:\n\nkødé: spàrklefish\nidéàs: dødger, m0thball\n"
                                        "tésting: fizzwick, grümble, t0astie"),
                         dialogs::Icon::Exclamation, QStringLiteral("yø!"));
}

void OptionsWindow::openStyleShop() {
    hide();
    if (QWidget *mainStrip = m_windows.mainStrip())
        mainStrip->hide();
    m_windows.showStyleShop();
}

void OptionsWindow::editAscii() {
    hide();
    MenuHost &windows = m_windows; // the window may be gone once the program ends
    const auto front = windows.ask(QStringLiteral("What is the FRONT ascii gonna be?"));
    if (!front)
        return;
    hostlink::pause(hostlink::wholeSeconds(hostlink::pacing::kBetweenAsciiPrompts));
    if (windows.isEnding())
        return;
    const auto back = windows.ask(QStringLiteral("What is the BACK ascii gonna be?"));
    if (!back)
        return;

    // The style changes only after the last prompt, and is written at once.
    using settings::Field;
    session::SessionModel &session = m_windows.session();
    session.setCaption(Field::MiddleAscii, QStringLiteral("·"));
    session.setCaption(Field::BackAscii, *back);
    session.setCaption(Field::FrontAscii, *front);
    session.setCaption(Field::StyleName, kCustom);
    writeField(session, Field::StyleName);
    writeField(session, Field::MiddleAscii);
    writeField(session, Field::FrontAscii);
    writeField(session, Field::BackAscii);
}

void OptionsWindow::editColour(const QString &prompt, settings::Field colour) {
    hide();
    const auto answer = m_windows.ask(prompt);
    if (!answer)
        return;
    session::SessionModel &session = m_windows.session();
    session.setCaption(settings::Field::StyleName, kCustom);
    session.setCaption(colour, *answer);
    writeField(session, settings::Field::StyleName);
    writeField(session, colour);
}

void OptionsWindow::editFontColour() {
    editColour(QStringLiteral("What color do you want the font to be?"),
               settings::Field::FontColour);
}

void OptionsWindow::editAsciiColour() {
    editColour(QStringLiteral("What color do you want the ascii to be?"),
               settings::Field::AsciiColour);
}

void OptionsWindow::editHandle() {
    hide();
    const auto handle = m_windows.ask(QStringLiteral("What is your Handle?"));
    if (!handle)
        return;
    settings::StoredSettings().setHandle(*handle);
    hostlink::chatSend(handleLine(m_windows.session(), *handle), hostlink::LineKind::Handle);
}

void OptionsWindow::cancel() { hide(); }

} // namespace menus
