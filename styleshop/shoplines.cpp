#include "shoplines.h"

#include "catalogue.h"
#include "frame.h"

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
    return frameHead(Closers::BIU, r) + "> zorvel <font color=#" + asciiColour(r) +
           ">stylè shøp<font color=#" + fontColour(r) + "> " + middleAscii(r) + " " + verb + " " +
           frameTail(r, false) + hostlink::kTrailer;
}

// The pieces around the underlined name; the layouts differ only in which
// colour the blank on either side of it takes.
struct NamePieces {
    const char *beforeAscii; // after the font colour, before the ascii colour
    const char *openName;    // after the ascii colour, up to the name
    const char *closeName;   // after the name, before the font colour
    const char *afterFont;   // after the font colour, before the back ascii
};

// By layout: A, then B.
constexpr NamePieces kPieces[] = {
    {">  stylé:<font color=#", "> <u>", "</u><font color=#", "> wâs nøw løàdêd.  "},
    {">  stylé: <font color=#", "><u>", "</u> <font color=#", ">wâs nøw løàdêd.  "},
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
           frameTail(r, false) + (style.tail ? hostlink::kTrailer : "");
}

} // namespace styleshop
