#include "idlelines.h"

#include "hostlink/frame.h"

using namespace Qt::StringLiterals;

namespace control {

// The frame's parts, as every line builder names them.
using namespace hostlink;
using settings::Field;

QString idleSessionLine(const settings::SettingsRecord &r, bool engaged) {
    return frameHead(Closers::IUB, r) + u">  zorvel  "_s + middleAscii(r) + u"<font color=#"_s +
           fontColour(r) + u"> idlé sèssiøn "_s + middleAscii(r) + u" <font color=#"_s +
           asciiColour(r) +
           (engaged ? u"> éñgágèd<font color=#"_s : u"> diséñgágèd<font color=#"_s) +
           fontColour(r) + u">.. "_s + frameTail(r, false) + kTrailer;
}

QString idleLine(const settings::SettingsRecord &r, const QString &handle, const QString &hours,
                 const QString &mins) {
    return frameHead(Closers::BUI, r) + u">  zorvel  "_s + middleAscii(r) + //
           u"<font color=#"_s + asciiColour(r) + u"> "_s + handle + u" is idlè <font color=#"_s +
           fontColour(r) + //
           u">"_s + middleAscii(r) + u"<font color=#"_s + fontColour(r) +
           u"> timé: <font color=#"_s + asciiColour(r) + u">"_s + //
           hours + u":"_s + mins + u" "_s + frameTail(r, true) + kTrailer;
}

QString reasonLine(const settings::SettingsRecord &r, const QString &reason) {
    return frameHead(Closers::BUI, r) + u"> msg: <font color=#"_s + asciiColour(r) + u">"_s +
           reason + u" "_s + middleAscii(r) + u" <font color=#"_s + fontColour(r) +
           u"> stylé: <font color=#"_s + asciiColour(r) + u">"_s + r.caption(Field::StyleName) +
           u"<font color=#"_s + fontColour(r) + u"> .. "_s + frameTail(r, false) + kTrailer;
}

} // namespace control
