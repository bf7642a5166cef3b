#include "menulines.h"

#include "hostlink/frame.h"

using namespace Qt::StringLiterals;

namespace menus {

using hostlink::asciiColour;
using hostlink::Closers;
using hostlink::fontColour;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::kTrailer;
using hostlink::middleAscii;
using settings::Field;

namespace {
// The statistics lines share their head and their tail.
QString statsLine(const settings::SettingsRecord &r, const QString &own) {
    return frameHead(Closers::BIU, r) + own + u">.."_s + frameTail(r, true) + kTrailer;
}
} // namespace

QString statsLoadsLine(const settings::SettingsRecord &r, const QString &handle,
                       const QString &loads) {
    return statsLine(r, u"> zorvel stàts "_s + middleAscii(r) + u" id: <font color=#"_s +
                            asciiColour(r) + u">"_s + handle + u" "_s + middleAscii(r) +
                            u" <font color=#"_s + fontColour(r) + u">løàds: <font color=#"_s +
                            asciiColour(r) + u">"_s + loads + u"<font color=#"_s + fontColour(r));
}

QString statsStyleLine(const settings::SettingsRecord &r) {
    return statsLine(r, u"> stylé:<font color=#"_s + asciiColour(r) + u"> "_s +
                            r.caption(Field::StyleName) + u" "_s + middleAscii(r) +
                            u" <font color=#"_s + fontColour(r) + u">stylés: <font color=#"_s +
                            asciiColour(r) + u">25<font color=#"_s + fontColour(r));
}

QString statsColoursLine(const settings::SettingsRecord &r) {
    return statsLine(r, u"> àscii còlór:<font color=#"_s + asciiColour(r) + u"> "_s +
                            asciiColour(r) + u" "_s + middleAscii(r) + u" <font color=#"_s +
                            fontColour(r) + u">fønt còlór: <font color=#"_s + asciiColour(r) +
                            u">"_s + fontColour(r) + u"<font color=#"_s + fontColour(r));
}

QString statsIdleLine(const settings::SettingsRecord &r, const QString &lastIdle,
                      const QString &minsUsed) {
    return statsLine(r, u"> lâst idlé: <font color=#"_s + asciiColour(r) + u">"_s + lastIdle +
                            u" "_s + middleAscii(r) + u" <font color=#"_s + fontColour(r) +
                            u">miñs ùséd: <font color=#"_s + asciiColour(r) + u">"_s + minsUsed +
                            u"<font color=#"_s + fontColour(r));
}

QString handleLine(const settings::SettingsRecord &r, const QString &handle) {
    return frameHead(Closers::BIU, r) + u"> hàñdlè châñgéd tø: <font color=#"_s + asciiColour(r) +
           u">"_s + handle + u" <font color=#"_s + fontColour(r) + u">.."_s + frameTail(r, true) +
           kTrailer;
}

} // namespace menus
