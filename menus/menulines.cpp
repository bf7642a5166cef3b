#include "menulines.h"

#include "frame.h"

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
    return frameHead(Closers::BIU, r) + own + ">.." + frameTail(r, true) + kTrailer;
}
} // namespace

QString idleSessionLine(const settings::SettingsRecord &r, bool engaged) {
    return frameHead(Closers::IUB, r) + ">  zorvel  " + middleAscii(r) + "<font color=#" +
           fontColour(r) + "> idlé sèssiøn " + middleAscii(r) + " <font color=#" + asciiColour(r) +
           (engaged ? "> éñgágèd<font color=#" : "> diséñgágèd<font color=#") + fontColour(r) +
           ">.. " + frameTail(r, false) + kTrailer;
}

QString statsLoadsLine(const settings::SettingsRecord &r, const QString &handle,
                       const QString &loads) {
    return statsLine(r, "> zorvel stàts " + middleAscii(r) + " id: <font color=#" + asciiColour(r) +
                            ">" + handle + " " + middleAscii(r) + " <font color=#" + fontColour(r) +
                            ">løàds: <font color=#" + asciiColour(r) + ">" + loads +
                            "<font color=#" + fontColour(r));
}

QString statsStyleLine(const settings::SettingsRecord &r) {
    return statsLine(r, "> stylé:<font color=#" + asciiColour(r) + "> " +
                            r.caption(Field::StyleName) + " " + middleAscii(r) + " <font color=#" +
                            fontColour(r) + ">stylés: <font color=#" + asciiColour(r) +
                            ">25<font color=#" + fontColour(r));
}

QString statsColoursLine(const settings::SettingsRecord &r) {
    return statsLine(r, "> àscii còlór:<font color=#" + asciiColour(r) + "> " + asciiColour(r) +
                            " " + middleAscii(r) + " <font color=#" + fontColour(r) +
                            ">fønt còlór: <font color=#" + asciiColour(r) + ">" + fontColour(r) +
                            "<font color=#" + fontColour(r));
}

QString statsIdleLine(const settings::SettingsRecord &r, const QString &lastIdle,
                      const QString &minsUsed) {
    return statsLine(r, "> lâst idlé: <font color=#" + asciiColour(r) + ">" + lastIdle + " " +
                            middleAscii(r) + " <font color=#" + fontColour(r) +
                            ">miñs ùséd: <font color=#" + asciiColour(r) + ">" + minsUsed +
                            "<font color=#" + fontColour(r));
}

QString handleLine(const settings::SettingsRecord &r, const QString &handle) {
    return frameHead(Closers::BIU, r) + "> hàñdlè châñgéd tø: <font color=#" + asciiColour(r) +
           ">" + handle + " <font color=#" + fontColour(r) + ">.." + frameTail(r, true) + kTrailer;
}

} // namespace menus
