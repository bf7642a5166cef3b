#include "menuwindow.h"

#include "hostlink/pause.h"
#include "widgets/entrylabel.h"
#include "widgets/twips.h"

#include <QColor>
#include <cmath>

namespace menus {

namespace {
int pixels(int twips) { return widgets::twipsToPixelsDown(twips); }

// Where the design puts both windows; the menu button moves them before
// every showing.
constexpr int kDesignLeft = 7530;
constexpr int kDesignTop = 3495;
constexpr int kSlideStep = 300;
constexpr int kRowHeight = 255;

QFont arialNarrow() {
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPointSizeF(6.75);
    return font;
}
} // namespace

MenuWindow::MenuWindow(const char *name, int widthTwips, int heightTwips)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QString::fromLatin1(name));
    setFixedSize(pixels(widthTwips), pixels(heightTwips));
    move(pixels(kDesignLeft), pixels(kDesignTop));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
}

int MenuWindow::topTwips() const { return y() * widgets::kTwipsPerPixel; }

void MenuWindow::setTopTwips(int top) { move(x(), pixels(top)); }

int MenuWindow::widthTwips() const { return width() * widgets::kTwipsPerPixel; }

widgets::EntryLabel *MenuWindow::addEntry(const char *name, const QString &caption,
                                          const QRect &twips, const QColor &ink) {
    auto *entry = new widgets::EntryLabel(caption, this);
    entry->setObjectName(QString::fromLatin1(name));
    entry->setGeometry(pixels(twips.x()), pixels(twips.y()), pixels(twips.width()),
                       pixels(twips.height()));
    entry->setFont(arialNarrow());
    QPalette p = entry->palette();
    p.setColor(QPalette::Active, QPalette::WindowText, ink);
    p.setColor(QPalette::Inactive, QPalette::WindowText, ink);
    entry->setPalette(p);
    return entry;
}

widgets::EntryLabel *MenuWindow::addRow(const char *name, const char *caption, int top,
                                        const QColor &ink) {
    return addEntry(name, QString::fromUtf8(caption), QRect(0, top, widthTwips(), kRowHeight), ink);
}

void MenuWindow::slideOut(Slide direction, int bound) {
    const bool up = direction == Slide::Up;
    int top = topTwips();
    do {
        hostlink::processPendingEvents();
        top += up ? -kSlideStep : kSlideStep;
        setTopTwips(top);
    } while (up ? top >= bound : top <= bound);
}

} // namespace menus
