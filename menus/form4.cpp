#include "form4.h"

#include "chatlink.h"
#include "controls.h"
#include "dialogs.h"
#include "entrylabel.h"
#include "forms.h"
#include "menulines.h"
#include "pause.h"
#include "settingsfile.h"
#include "windowroutines.h"

#include <QColor>

namespace menus {

namespace {
constexpr int kWidth = 495;
constexpr int kHeight = 1695;
// The slide down ends past this top, whatever the screen's size.
constexpr int kSlideBound = 7200;

const QString kCustom = QStringLiteral("cùstøm");

// Stores a label's caption under a key: the style settings always take the
// caption after the command has set it.
void writeCaption(QWidget *form1, const char *key, const char *label) {
    settings::WriteToINI(settings::kSection, key, hostlink::caption(form1, label),
                         settings::settingsPath());
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

Form4::Form4(Forms &forms) : MenuWindow("Form4", kWidth, kHeight), m_forms(forms) {
    const QColor rust(192, 64, 0);
    const QColor red(192, 0, 0);
    Label1 = addEntry("Label1", QStringLiteral("about"), QRect(75, 17, 375, 165), rust);
    Label2 = addRow("Label2", "   styles", 240, rust);
    Label3 = addRow("Label3", "   e ascii", 480, rust);
    Label8 = addRow("Label8", "  e fcolor", 720, red);
    Label7 = addRow("Label7", "  e acolor", 960, red);
    Label4 = addRow("Label4", "  e handle", 1200, rust);
    Label5 = addRow("Label5", " cancel", 1440, rust);

    using styleshop::EntryLabel;
    connect(Label1, &EntryLabel::clicked, this, &Form4::Label1_Click);
    connect(Label2, &EntryLabel::clicked, this, &Form4::Label2_Click);
    connect(Label3, &EntryLabel::clicked, this, &Form4::Label3_Click);
    connect(Label8, &EntryLabel::clicked, this, &Form4::Label8_Click);
    connect(Label7, &EntryLabel::clicked, this, &Form4::Label7_Click);
    connect(Label4, &EntryLabel::clicked, this, &Form4::Label4_Click);
    connect(Label5, &EntryLabel::clicked, this, &Form4::Label5_Click);
}

void Form4::Form_Load() { hostlink::StayOnTop(this); }

void Form4::Form_Unload() { slideOut(Slide::Down, kSlideBound); }

void Form4::Label1_Click() {
    hide();
    Forms &forms = m_forms; // the window may be gone once the program ends
    dialogs::showMessage(aboutText(), dialogs::Icon::Information);
    if (forms.isEnding())
        return;
    dialogs::showMessage(QStringLiteral("crèdits:\n\nkødé: spàrklefish\nidéàs: dødger, m0thball\n"
                                        "tésting: fizzwick, grümble, t0astie"),
                         dialogs::Icon::Exclamation, QStringLiteral("yø!"));
}

void Form4::Label2_Click() {
    hide();
    if (QWidget *form1 = m_forms.form1())
        form1->hide();
    m_forms.showForm2();
}

void Form4::Label3_Click() {
    hide();
    Forms &forms = m_forms; // the window may be gone once the program ends
    const auto front = forms.ask(QStringLiteral("What is the FRONT ascii gonna be?"));
    if (!front)
        return;
    hostlink::Pause(hostlink::wholeSeconds(0.35));
    if (forms.isEnding())
        return;
    const auto back = forms.ask(QStringLiteral("What is the BACK ascii gonna be?"));
    if (!back)
        return;

    // The labels change only after the last prompt, and are written at once.
    QWidget *form1 = m_forms.form1();
    hostlink::setCaption(form1, "Label6", QStringLiteral("·"));
    hostlink::setCaption(form1, "Label7", *back);
    hostlink::setCaption(form1, "Label5", *front);
    hostlink::setCaption(form1, "Label12", kCustom);
    writeCaption(form1, "preset", "Label12");
    writeCaption(form1, "pmascii", "Label6");
    writeCaption(form1, "pfascii", "Label5");
    writeCaption(form1, "pbascii", "Label7");
}

void Form4::editColour(const QString &prompt, const char *colourLabel, const char *key) {
    hide();
    const auto answer = m_forms.ask(prompt);
    if (!answer)
        return;
    QWidget *form1 = m_forms.form1();
    hostlink::setCaption(form1, "Label12", kCustom);
    hostlink::setCaption(form1, colourLabel, *answer);
    writeCaption(form1, "preset", "Label12");
    writeCaption(form1, key, colourLabel);
}

void Form4::Label8_Click() {
    editColour(QStringLiteral("What color do you want the font to be?"), "Label8", "pfcolor");
}

void Form4::Label7_Click() {
    editColour(QStringLiteral("What color do you want the ascii to be?"), "Label11", "pacolor");
}

void Form4::Label4_Click() {
    hide();
    const auto handle = m_forms.ask(QStringLiteral("What is your Handle?"));
    if (!handle)
        return;
    settings::WriteToINI(settings::kSection, QStringLiteral("handle"), *handle,
                         settings::settingsPath());
    hostlink::ChatSend(handleLine(hostlink::LabelRecord(m_forms.form1()), *handle));
}

void Form4::Label5_Click() { hide(); }

} // namespace menus
