#include "programlines.h"

#include "hostlink/frame.h"

using namespace Qt::StringLiterals;

namespace app {

using hostlink::asciiColour;
using hostlink::Closers;
using hostlink::fontColour;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::kTrailer;
using hostlink::middleAscii;
using settings::Field;

QString loadLine(const settings::SettingsRecord &r) {
    return frameHead(Closers::IUB, r) + u">  zorvel  "_s + middleAscii(r) + //
           u"<font color=#"_s + asciiColour(r) + u"> brondel <font color=#"_s + fontColour(r) +
           u">"_s + middleAscii(r) +                                                      //
           u" <u>løàdéd</u> <font color=#"_s + asciiColour(r) + u">"_s + middleAscii(r) + //
           u" <font color=#"_s + fontColour(r) + u">quibbet "_s + frameTail(r, true) + kTrailer;
}

QString loadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                         const QString &style) {
    return frameHead(Closers::IUB, r) + u">  id: <font color=#"_s + asciiColour(r) + u"><u>"_s +
           handle + u"</u><font color=#"_s + fontColour(r) + u"> "_s + middleAscii(r) + //
           u" stylè: <font color=#"_s + asciiColour(r) + u"><u>"_s + style +
           u"</u> <font color=#"_s + fontColour(r) + u">"_s + //
           middleAscii(r) + u" <a href="_s + QLatin1String(kDownloadPage) + u">dl hérè</a> "_s +
           frameTail(r, false) + hostlink::kTrailerMixedCase;
}

QString unloadLine(const settings::SettingsRecord &r) {
    return frameHead(Closers::BIU, r) + u">  zorvel "_s + middleAscii(r) + u" <font color=#"_s +
           asciiColour(r) + u">brondel<font color=#"_s + fontColour(r) + u"> "_s + middleAscii(r) +
           u" <u>ùñløàdéd</u> <font color=#"_s + asciiColour(r) + u">"_s + middleAscii(r) +
           u" <font color=#"_s + fontColour(r) + u">quibbet  "_s + frameTail(r, false) + kTrailer;
}

QString unloadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                           const QString &style) {
    return frameHead(Closers::BIU, r) + u">  id: <font color=#"_s + asciiColour(r) + u"><u>"_s +
           handle + u"</u><font color=#"_s + fontColour(r) + u"> "_s + middleAscii(r) +
           u" stylè:<font color=#"_s + asciiColour(r) + u"> <u>"_s + style +
           u"</u> <font color=#"_s + fontColour(r) + u">"_s + middleAscii(r) + u" <a href="_s +
           QLatin1String(kDownloadPage) + u">dl hérè</a> "_s + frameTail(r, false) + kTrailer;
}

} // namespace app
