#include "form2.h"

#include "catalogue.h"
#include "chatlink.h"
#include "entrylabel.h"
#include "settingsfile.h"
#include "shoplines.h"
#include "windowroutines.h"

#include <QFrame>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace styleshop {

namespace {

constexpr int kTwipsPerPixel = 15;
int pixels(int twips) { return int(std::floor(twips / double(kTwipsPerPixel))); }

constexpr int kClientWidth = 1695;
constexpr int kClientHeight = 3510;
constexpr int kEntryHeight = 255;

// The design's colours; the system colours it names as the standard scheme has them.
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kRust = qRgb(192, 64, 0);
constexpr QRgb kTitleGround = qRgb(64, 0, 0);
constexpr QRgb kWindowText = kBlack;
constexpr QRgb kButtonText = kBlack;
constexpr QRgb kHighlightText = kWhite;
constexpr QRgb kActiveBorder = qRgb(192, 192, 192);
constexpr QRgb kInactiveBorder = qRgb(192, 192, 192);
constexpr QRgb kMenu = qRgb(192, 192, 192);

struct Entry {
    const char *name;
    void (Form2::*click)();
    const char16_t *caption;
    int left, top, width; // twips
    QRgb ink, ground;
};

// Left column, then right column, as the design stacks them.
constexpr std::array<Entry, 25> kEntries{{
    {"Label1", &Form2::Label1_Click, u"  glimtàr", 0, 240, 975, kRust, kBlack},
    {"Label2", &Form2::Label2_Click, u"  quøvané", 0, 480, 975, kRust, kBlack},
    {"Label4", &Form2::Label4_Click, u"  trébolk", 0, 720, 735, kRust, kBlack},
    {"Label5", &Form2::Label5_Click, u"  brondel¹", 0, 960, 615, kRust, kBlack},
    {"Label6", &Form2::Label6_Click, u"  wistørn", 0, 1200, 735, kRust, kBlack},
    {"Label7", &Form2::Label7_Click, u"  fàlvé", 0, 1440, 735, kRust, kBlack},
    {"Label8", &Form2::Label8_Click, u" nøbbiké", 0, 1680, 615, kRust, kBlack},
    {"Label9", &Form2::Label9_Click, u"KeloVa", 120, 1920, 615, kRust, kWindowText},
    {"Label10", &Form2::Label10_Click, u"lurø", 120, 2160, 495, kRust, kButtonText},
    {"Label11", &Form2::Label11_Click, u"vexà", 120, 2400, 495, kRust, kBlack},
    {"Label12", &Form2::Label12_Click, u"tuq", 120, 2640, 375, kRust, kBlack},
    {"Label13", &Form2::Label13_Click, u"dølvin", 120, 2880, 495, kRust, kBlack},
    {"Label14", &Form2::Label14_Click, u"skarnet¹", 120, 3120, 495, kRust, kBlack},
    {"Label18", &Form2::Label18_Click, u"zéphrin", 960, 252, 615, kWhite, kBlack},
    {"Label19", &Form2::Label19_Click, u"t0ff", 1080, 480, 375, kWhite, kBlack},
    {"Label20", &Form2::Label20_Click, u"plenk", 960, 720, 375, kWhite, kBlack},
    {"Label15", &Form2::Label15_Click, u"fénnok", 720, 960, 735, kWhite, kBlack},
    // The captions of 16 and 26 are accented otherwise than the style names.
    {"Label16", &Form2::Label16_Click, u"brâvilo", 720, 1200, 855, kWhite, kBlack},
    {"Label17", &Form2::Label17_Click, u"hùmptar", 720, 1440, 615, kHighlightText, kBlack},
    {"Label21", &Form2::Label21_Click, u"drømp", 720, 1680, 375, kWhite, kBlack},
    {"Label22", &Form2::Label22_Click, u"pellux", 720, 1920, 735, kWhite, kBlack},
    {"Label23", &Form2::Label23_Click, u"ørmàdin", 720, 2160, 615, kHighlightText, kBlack},
    {"Label24", &Form2::Label24_Click, u"zorvel suxz", 720, 2400, 615, kWhite, kBlack},
    {"Label25", &Form2::Label25_Click, u"nùvé", 720, 2640, 615, kWhite, kBlack},
    {"Label26", &Form2::Label26_Click, u"grèvintølk", 720, 2880, 855, kWhite, kBlack},
}};

struct Line {
    int x1, y1, x2, y2; // twips
    int width;          // pixels
    QRgb colour;
};

constexpr std::array<Line, 7> kFrameLines{{
    {0, 0, 1680, 0, 2, kActiveBorder},
    {0, 0, 0, 240, 4, kActiveBorder},
    {0, 240, 0, 3480, 2, kActiveBorder},
    {0, 240, 1680, 240, 1, kMenu},
    {1680, -120, 1680, 240, 2, kMenu},
    {1680, 240, 1680, 3480, 2, kMenu},
    {0, 3480, 1680, 3480, 1, kInactiveBorder},
}};

QFont arialNarrow(double points) {
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPointSizeF(points);
    return font;
}

void setColours(QWidget *widget, QRgb ink, QRgb ground) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, ink);
    p.setColor(QPalette::Window, ground);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

EntryLabel *addEntry(QWidget *form, const char *name, const QString &caption, int left, int top,
                     int width) {
    auto *label = new EntryLabel(caption, form);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(pixels(left), pixels(top), pixels(width), pixels(kEntryHeight));
    return label;
}

// A line of the frame, its width centred on the line; it takes no mouse, so
// a press on it lands on the background.
void addLine(QWidget *form, const Line &line) {
    const int x1 = pixels(std::min(line.x1, line.x2)), x2 = pixels(std::max(line.x1, line.x2));
    const int y1 = pixels(std::min(line.y1, line.y2)), y2 = pixels(std::max(line.y1, line.y2));
    const int before = line.width / 2;
    const QRect rect = y1 == y2 ? QRect(x1, y1 - before, x2 - x1 + 1, line.width)
                                : QRect(x1 - before, y1, line.width, y2 - y1 + 1);
    auto *frame = new QFrame(form);
    frame->setGeometry(rect);
    setColours(frame, line.colour, line.colour);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The six keys the shop reloads before each of its lines, in this order.
struct Reload {
    settings::Field field;
    const char *key;
};
constexpr std::array<Reload, 6> kReloadOrder{{
    {settings::Field::StyleName, "preset"},
    {settings::Field::AsciiColour, "pacolor"},
    {settings::Field::FrontAscii, "pfascii"},
    {settings::Field::BackAscii, "pbascii"},
    {settings::Field::MiddleAscii, "pmascii"},
    {settings::Field::FontColour, "pfcolor"},
}};

} // namespace

Form2::Form2(QWidget *form1, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_form1(form1) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("zorvel stylés"));
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    setColours(this, kWhite, kBlack);
    setFont(arialNarrow(8.25));
    // Nothing in the design places the shop: it opens where the main window
    // stood, which the styles command has just hidden.
    if (form1)
        move(form1->pos());

    EntryLabel *title = addEntry(this, "Label3", QStringLiteral("   zorvel stylés"), 240, 0, 1095);
    title->setFont(arialNarrow(9));
    setColours(title, kRust, kTitleGround);
    connect(title, &EntryLabel::clicked, this, &Form2::Label3_Click);
    connect(title, &EntryLabel::doubleClicked, this, &Form2::Label3_DblClick);

    for (const Entry &entry : kEntries) {
        EntryLabel *label = addEntry(this, entry.name, QString::fromUtf16(entry.caption),
                                     entry.left, entry.top, entry.width);
        setColours(label, entry.ink, entry.ground);
        connect(label, &EntryLabel::clicked, this, entry.click);
    }

    for (const Line &line : kFrameLines)
        addLine(this, line);
}

hostlink::LabelRecord Form2::record() const { return hostlink::LabelRecord(m_form1.data()); }

void Form2::reloadStyle() {
    hostlink::LabelRecord style = record();
    const QString file = settings::settingsPath();
    for (const Reload &reload : kReloadOrder)
        style.setCaption(reload.field, settings::GetFromINI(settings::kSection, reload.key, file));
}

void Form2::showForm1() {
    if (m_form1)
        m_form1->show();
}

void Form2::Form_Load() {
    if (m_loaded)
        return;
    m_loaded = true;
    hostlink::StayOnTop(this);
    reloadStyle();
    hostlink::ChatSend(loadLine(record()));
}

void Form2::Form_Unload() {
    if (!m_loaded)
        return;
    m_loaded = false;
    reloadStyle();
    hostlink::ChatSend(unloadLine(record()));
    // Off the screen at once, however long the owner keeps the object.
    hide();
}

void Form2::Form_MouseDown() {
    const QPointer<Form2> alive(this);
    setCursor(Qt::SizeAllCursor);
    hostlink::FormDrag(this);
    if (!alive)
        return;
    unsetCursor();
    showForm1();
}

void Form2::Label3_Click() {
    // The first click of a double click has already unloaded the shop: the
    // rest of it must find nothing to do.
    if (!m_loaded)
        return;
    showForm1();
    Q_EMIT unloadRequested();
}

void Form2::Label3_DblClick() {
    if (!m_loaded)
        return;
    Q_EMIT unloadRequested();
}

void Form2::applyEntry(int number) {
    if (const Style *style = styleNumbered(number)) {
        hostlink::LabelRecord target = record();
        applyStyle(*style, target);
    }
}

// clang-format off
void Form2::Label1_Click() { applyEntry(1); }
void Form2::Label2_Click() { applyEntry(2); }
void Form2::Label4_Click() { applyEntry(4); }
void Form2::Label5_Click() { applyEntry(5); }
void Form2::Label6_Click() { applyEntry(6); }
void Form2::Label7_Click() { applyEntry(7); }
void Form2::Label8_Click() { applyEntry(8); }
void Form2::Label9_Click() { applyEntry(9); }
void Form2::Label10_Click() { applyEntry(10); }
void Form2::Label11_Click() { applyEntry(11); }
void Form2::Label12_Click() { applyEntry(12); }
void Form2::Label13_Click() { applyEntry(13); }
void Form2::Label14_Click() { applyEntry(14); }
void Form2::Label15_Click() { applyEntry(15); }
void Form2::Label16_Click() { applyEntry(16); }
void Form2::Label17_Click() { applyEntry(17); }
void Form2::Label18_Click() { applyEntry(18); }
void Form2::Label19_Click() { applyEntry(19); }
void Form2::Label20_Click() { applyEntry(20); }
void Form2::Label21_Click() { applyEntry(21); }
void Form2::Label22_Click() { applyEntry(22); }
void Form2::Label23_Click() { applyEntry(23); }
void Form2::Label24_Click() { applyEntry(24); }
void Form2::Label25_Click() { applyEntry(25); }
void Form2::Label26_Click() { applyEntry(26); }
// clang-format on

void Form2::mousePressEvent(QMouseEvent *event) {
    // Any button, anywhere the entries leave bare.
    event->accept();
    Form_MouseDown();
}

void Form2::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click is the window's double click, for
    // which the shop has no handler: it does not drag again.
    event->accept();
}

} // namespace styleshop
