#include "styleshop.h"

#include "hostlink/chatlink.h"
#include "hostlink/windowroutines.h"
#include "settings/storedsettings.h"
#include "styleshop/catalogue.h"
#include "styleshop/shoplines.h"
#include "widgets/entrylabel.h"
#include "widgets/twips.h"

#include <QFrame>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace styleshop {

using widgets::EntryLabel;

namespace {

int pixels(int twips) { return widgets::twipsToPixelsDown(twips); }

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
    int number; // the style it applies; its object name is Label<number>
    const char16_t *caption;
    int left, top, width; // twips
    QRgb ink, ground;
};

// Left column, then right column, as the design stacks them.
constexpr std::array<Entry, 25> kEntries{{
    {1, u"  glimtàr", 0, 240, 975, kRust, kBlack},
    {2, u"  quøvané", 0, 480, 975, kRust, kBlack},
    {4, u"  trébolk", 0, 720, 735, kRust, kBlack},
    {5, u"  brondel¹", 0, 960, 615, kRust, kBlack},
    {6, u"  wistørn", 0, 1200, 735, kRust, kBlack},
    {7, u"  fàlvé", 0, 1440, 735, kRust, kBlack},
    {8, u" nøbbiké", 0, 1680, 615, kRust, kBlack},
    {9, u"KeloVa", 120, 1920, 615, kRust, kWindowText},
    {10, u"lurø", 120, 2160, 495, kRust, kButtonText},
    {11, u"vexà", 120, 2400, 495, kRust, kBlack},
    {12, u"tuq", 120, 2640, 375, kRust, kBlack},
    {13, u"dølvin", 120, 2880, 495, kRust, kBlack},
    {14, u"skarnet¹", 120, 3120, 495, kRust, kBlack},
    {18, u"zéphrin", 960, 252, 615, kWhite, kBlack},
    {19, u"t0ff", 1080, 480, 375, kWhite, kBlack},
    {20, u"plenk", 960, 720, 375, kWhite, kBlack},
    {15, u"fénnok", 720, 960, 735, kWhite, kBlack},
    // The captions of 16 and 26 are accented otherwise than the style names.
    {16, u"brâvilo", 720, 1200, 855, kWhite, kBlack},
    {17, u"hùmptar", 720, 1440, 615, kHighlightText, kBlack},
    {21, u"drømp", 720, 1680, 375, kWhite, kBlack},
    {22, u"pellux", 720, 1920, 735, kWhite, kBlack},
    {23, u"ørmàdin", 720, 2160, 615, kHighlightText, kBlack},
    {24, u"zorvel suxz", 720, 2400, 615, kWhite, kBlack},
    {25, u"nùvé", 720, 2640, 615, kWhite, kBlack},
    {26, u"grèvintølk", 720, 2880, 855, kWhite, kBlack},
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

// The six fields the shop reloads before each of its lines, in this order.
constexpr std::array kReloadOrder{settings::Field::StyleName,   settings::Field::AsciiColour,
                                  settings::Field::FrontAscii,  settings::Field::BackAscii,
                                  settings::Field::MiddleAscii, settings::Field::FontColour};

} // namespace

StyleShop::StyleShop(session::SessionModel &session, QWidget *mainStrip, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_session(session),
      m_mainStrip(mainStrip) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("zorvel stylés"));
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    setColours(this, kWhite, kBlack);
    setFont(arialNarrow(8.25));
    // Nothing in the design places the shop: it opens where the main window
    // stood, which the styles command has just hidden.
    if (mainStrip)
        move(mainStrip->pos());

    EntryLabel *title = addEntry(this, "Label3", QStringLiteral("   zorvel stylés"), 240, 0, 1095);
    title->setFont(arialNarrow(9));
    setColours(title, kRust, kTitleGround);
    connect(title, &EntryLabel::clicked, this, &StyleShop::goBack);
    connect(title, &EntryLabel::doubleClicked, this, &StyleShop::askToUnload);

    for (const Entry &entry : kEntries) {
        const QByteArray name = "Label" + QByteArray::number(entry.number);
        EntryLabel *label = addEntry(this, name.constData(), QString::fromUtf16(entry.caption),
                                     entry.left, entry.top, entry.width);
        setColours(label, entry.ink, entry.ground);
        connect(label, &EntryLabel::clicked, this,
                [this, number = entry.number] { applyStyleNumbered(number); });
    }

    for (const Line &line : kFrameLines)
        addLine(this, line);
}

void StyleShop::reloadStyle() {
    const settings::StoredSettings stored;
    for (const settings::Field field : kReloadOrder)
        m_session.setCaption(field, stored.field(field));
}

void StyleShop::showMainStrip() {
    if (m_mainStrip)
        m_mainStrip->show();
}

void StyleShop::load() {
    if (m_loaded)
        return;
    m_loaded = true;
    hostlink::stayOnTop(this);
    reloadStyle();
    hostlink::chatSend(loadLine(m_session), hostlink::LineKind::StyleShop);
}

void StyleShop::unload() {
    if (!m_loaded)
        return;
    m_loaded = false;
    reloadStyle();
    hostlink::chatSend(unloadLine(m_session), hostlink::LineKind::StyleShop);
    // Off the screen at once, however long the owner keeps the object.
    hide();
}

void StyleShop::pressBackground() {
    const QPointer<StyleShop> alive(this);
    setCursor(Qt::SizeAllCursor);
    hostlink::dragWindow(this);
    if (!alive)
        return;
    unsetCursor();
    showMainStrip();
}

void StyleShop::goBack() {
    // The first click of a double click has already unloaded the shop: the
    // rest of it must find nothing to do.
    if (!m_loaded)
        return;
    showMainStrip();
    Q_EMIT unloadRequested();
}

void StyleShop::askToUnload() {
    if (!m_loaded)
        return;
    Q_EMIT unloadRequested();
}

void StyleShop::applyStyleNumbered(int number) {
    if (const Style *style = styleNumbered(number))
        applyStyle(*style, m_session);
}

void StyleShop::mousePressEvent(QMouseEvent *event) {
    // Any button, anywhere the entries leave bare.
    event->accept();
    pressBackground();
}

void StyleShop::mouseDoubleClickEvent(QMouseEvent *event) {
    // The second press of a double click is the window's double click, for
    // which the shop has no handler: it does not drag again.
    event->accept();
}

} // namespace styleshop
