#include "programlines.h"

#include "frame.h"

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
    return frameHead(Closers::IUB, r) + ">  zorvel  " + middleAscii(r) + //
           "<font color=#" + asciiColour(r) + "> brondel <font color=#" + fontColour(r) + ">" +
           middleAscii(r) +                                                         //
           " <u>løàdéd</u> <font color=#" + asciiColour(r) + ">" + middleAscii(r) + //
           " <font color=#" + fontColour(r) + ">quibbet " + frameTail(r, true) + kTrailer;
}

QString loadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                         const QString &style) {
    return frameHead(Closers::IUB, r) + ">  id: <font color=#" + asciiColour(r) + "><u>" + handle +
           "</u><font color=#" + fontColour(r) + "> " + middleAscii(r) + //
           " stylè: <font color=#" + asciiColour(r) + "><u>" + style + "</u> <font color=#" +
           fontColour(r) + ">" + //
           middleAscii(r) + " <a href=" + kDownloadPage + ">dl hérè</a> " + frameTail(r, false) +
           hostlink::kTrailerMixedCase;
}

QString idleLine(const settings::SettingsRecord &r, const QString &handle, const QString &hours,
                 const QString &mins) {
    return frameHead(Closers::BUI, r) + ">  zorvel  " + middleAscii(r) + //
           "<font color=#" + asciiColour(r) + "> " + handle + " is idlè <font color=#" +
           fontColour(r) + //
           ">" + middleAscii(r) + "<font color=#" + fontColour(r) + "> timé: <font color=#" +
           asciiColour(r) + ">" + //
           hours + ":" + mins + " " + frameTail(r, true) + kTrailer;
}

QString reasonLine(const settings::SettingsRecord &r, const QString &reason) {
    return frameHead(Closers::BUI, r) + "> msg: <font color=#" + asciiColour(r) + ">" + reason +
           " " + middleAscii(r) + " <font color=#" + fontColour(r) + "> stylé: <font color=#" +
           asciiColour(r) + ">" + r.caption(Field::StyleName) + "<font color=#" + fontColour(r) +
           "> .. " + frameTail(r, false) + kTrailer;
}

QString unloadLine(const settings::SettingsRecord &r) {
    return frameHead(Closers::BIU, r) + ">  zorvel " + middleAscii(r) + " <font color=#" +
           asciiColour(r) + ">brondel<font color=#" + fontColour(r) + "> " + middleAscii(r) +
           " <u>ùñløàdéd</u> <font color=#" + asciiColour(r) + ">" + middleAscii(r) +
           " <font color=#" + fontColour(r) + ">quibbet  " + frameTail(r, false) + kTrailer;
}

QString unloadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                           const QString &style) {
    return frameHead(Closers::BIU, r) + ">  id: <font color=#" + asciiColour(r) + "><u>" + handle +
           "</u><font color=#" + fontColour(r) + "> " + middleAscii(r) + " stylè:<font color=#" +
           asciiColour(r) + "> <u>" + style + "</u> <font color=#" + fontColour(r) + ">" +
           middleAscii(r) + " <a href=" + kDownloadPage + ">dl hérè</a> " + frameTail(r, false) +
           kTrailer;
}

} // namespace app
