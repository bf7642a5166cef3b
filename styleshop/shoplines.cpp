#include "shoplines.h"

#include "hostlink/frame.h"
#include "styleshop/catalogue.h"

using namespace Qt::StringLiterals;

namespace styleshop {

using hostlink::asciiColour;
using hostlink::Closers;
using hostlink::fontColour;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::middleAscii;
using settings::Field;

namespace {
QString shopLine(const settings::SettingsRecord &r, const QString &verb) {
    return frameHead(Closers::BIU, r) + u"> zorvel <font color=#"_s + asciiColour(r) +
           u">stylè shøp<font color=#"_s + fontColour(r) + u"> "_s + middleAscii(r) + u" "_s +
           verb + u" "_s + frameTail(r, false) + hostlink::kTrailer;
}

// The pieces around the underlined name; the layouts differ only in which
// colour the blank on either side of it takes.
struct NamePieces {
    QStringView beforeAscii; // after the font colour, before the ascii colour
    QStringView openName;    // after the ascii colour, up to the name
    QStringView closeName;   // after the name, before the font colour
    QStringView afterFont;   // after the font colour, before the back ascii
};

// By layout: A, then B.
constexpr NamePieces kPieces[] = {
    {u">  stylé:<font color=#", u"> <u>", u"</u><font color=#", u"> wâs nøw løàdêd.  "},
    {u">  stylé: <font color=#", u"><u>", u"</u> <font color=#", u">wâs nøw løàdêd.  "},
};
} // namespace

QString loadLine(const settings::SettingsRecord &record) {
    return shopLine(record, QStringLiteral("løâdêd"));
}

QString unloadLine(const settings::SettingsRecord &record) {
    return shopLine(record, QStringLiteral("ùñløâdêd"));
}

QString styleLine(const Style &style, const settings::SettingsRecord &r) {
    const NamePieces &p = kPieces[int(style.layout)];
    return frameHead(Closers::BIU, r) + p.beforeAscii + asciiColour(r) + p.openName +
           r.caption(Field::StyleName) + p.closeName + fontColour(r) + p.afterFont +
           frameTail(r, false) + (style.tail ? hostlink::kTrailer : QLatin1String());
}

} // namespace styleshop
