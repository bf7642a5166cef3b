#include "programlines.h"

#include "frame.h"

namespace app {

using hostlink::A;
using hostlink::C;
using hostlink::Closers;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::kTrailer;
using hostlink::M;
using settings::Field;

QString loadLine(const settings::SettingsRecord &r) {
    return frameHead(Closers::IUB, r) + ">  zorvel  " + M(r) +                      //
           "<font color=#" + A(r) + "> brondel <font color=#" + C(r) + ">" + M(r) + //
           " <u>løàdéd</u> <font color=#" + A(r) + ">" + M(r) +                     //
           " <font color=#" + C(r) + ">quibbet " + frameTail(r, true) + kTrailer;
}

QString loadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                         const QString &style) {
    return frameHead(Closers::IUB, r) + ">  id: <font color=#" + A(r) + "><u>" + handle +
           "</u><font color=#" + C(r) + "> " + M(r) +                                            //
           " stylè: <font color=#" + A(r) + "><u>" + style + "</u> <font color=#" + C(r) + ">" + //
           M(r) + " <a href=" + kDownloadPage + ">dl hérè</a> " + frameTail(r, false) +
           hostlink::kTrailerMixedCase;
}

QString idleLine(const settings::SettingsRecord &r, const QString &handle, const QString &hours,
                 const QString &mins) {
    return frameHead(Closers::BUI, r) + ">  zorvel  " + M(r) +                          //
           "<font color=#" + A(r) + "> " + handle + " is idlè <font color=#" + C(r) +   //
           ">" + M(r) + "<font color=#" + C(r) + "> timé: <font color=#" + A(r) + ">" + //
           hours + ":" + mins + " " + frameTail(r, true) + kTrailer;
}

QString reasonLine(const settings::SettingsRecord &r, const QString &reason) {
    return frameHead(Closers::BUI, r) + "> msg: <font color=#" + A(r) + ">" + reason + " " + M(r) +
           " <font color=#" + C(r) + "> stylé: <font color=#" + A(r) + ">" +
           r.caption(Field::StyleName) + "<font color=#" + C(r) + "> .. " + frameTail(r, false) +
           kTrailer;
}

QString unloadLine(const settings::SettingsRecord &r) {
    return frameHead(Closers::BIU, r) + ">  zorvel " + M(r) + " <font color=#" + A(r) +
           ">brondel<font color=#" + C(r) + "> " + M(r) + " <u>ùñløàdéd</u> <font color=#" + A(r) +
           ">" + M(r) + " <font color=#" + C(r) + ">quibbet  " + frameTail(r, false) + kTrailer;
}

QString unloadIdentityLine(const settings::SettingsRecord &r, const QString &handle,
                           const QString &style) {
    return frameHead(Closers::BIU, r) + ">  id: <font color=#" + A(r) + "><u>" + handle +
           "</u><font color=#" + C(r) + "> " + M(r) + " stylè:<font color=#" + A(r) + "> <u>" +
           style + "</u> <font color=#" + C(r) + ">" + M(r) + " <a href=" + kDownloadPage +
           ">dl hérè</a> " + frameTail(r, false) + kTrailer;
}

} // namespace app
