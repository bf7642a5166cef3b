#include "menulines.h"

#include "frame.h"

namespace menus {

using hostlink::A;
using hostlink::C;
using hostlink::Closers;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::kTrailer;
using hostlink::M;
using settings::Field;

namespace {
// The statistics lines share their head and their tail.
QString statsLine(const settings::SettingsRecord &r, const QString &own) {
    return frameHead(Closers::BIU, r) + own + ">.." + frameTail(r, true) + kTrailer;
}
} // namespace

QString idleSessionLine(const settings::SettingsRecord &r, bool engaged) {
    return frameHead(Closers::IUB, r) + ">  zorvel  " + M(r) + "<font color=#" + C(r) +
           "> idlé sèssiøn " + M(r) + " <font color=#" + A(r) +
           (engaged ? "> éñgágèd<font color=#" : "> diséñgágèd<font color=#") + C(r) + ">.. " +
           frameTail(r, false) + kTrailer;
}

QString statsLoadsLine(const settings::SettingsRecord &r, const QString &handle,
                       const QString &loads) {
    return statsLine(r, "> zorvel stàts " + M(r) + " id: <font color=#" + A(r) + ">" + handle +
                            " " + M(r) + " <font color=#" + C(r) + ">løàds: <font color=#" + A(r) +
                            ">" + loads + "<font color=#" + C(r));
}

QString statsStyleLine(const settings::SettingsRecord &r) {
    return statsLine(r, "> stylé:<font color=#" + A(r) + "> " + r.caption(Field::StyleName) + " " +
                            M(r) + " <font color=#" + C(r) + ">stylés: <font color=#" + A(r) +
                            ">25<font color=#" + C(r));
}

QString statsColoursLine(const settings::SettingsRecord &r) {
    return statsLine(r, "> àscii còlór:<font color=#" + A(r) + "> " + A(r) + " " + M(r) +
                            " <font color=#" + C(r) + ">fønt còlór: <font color=#" + A(r) + ">" +
                            C(r) + "<font color=#" + C(r));
}

QString statsIdleLine(const settings::SettingsRecord &r, const QString &lastIdle,
                      const QString &minsUsed) {
    return statsLine(r, "> lâst idlé: <font color=#" + A(r) + ">" + lastIdle + " " + M(r) +
                            " <font color=#" + C(r) + ">miñs ùséd: <font color=#" + A(r) + ">" +
                            minsUsed + "<font color=#" + C(r));
}

QString handleLine(const settings::SettingsRecord &r, const QString &handle) {
    return frameHead(Closers::BIU, r) + "> hàñdlè châñgéd tø: <font color=#" + A(r) + ">" + handle +
           " <font color=#" + C(r) + ">.." + frameTail(r, true) + kTrailer;
}

} // namespace menus
