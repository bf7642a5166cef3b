#include "form1lines.h"

#include "frame.h"

namespace app {

using hostlink::Closers;
using hostlink::frameHead;
using hostlink::frameTail;
using hostlink::kTrailer;
using settings::Field;

namespace {
struct Symbols {
    explicit Symbols(const settings::SettingsRecord &r)
        : A(r.caption(Field::AsciiColour)), C(r.caption(Field::FontColour)),
          M(r.caption(Field::MiddleAscii)), B(r.caption(Field::BackAscii)),
          style(r.caption(Field::StyleName)) {}
    QString A, C, M, B, style;
};
} // namespace

QString loadLine1(const settings::SettingsRecord &r) {
    const Symbols s(r);
    return frameHead(Closers::IUB, r) + ">  zorvel  " + s.M +                      //
           "<font color=#" + s.A + "> brondel <font color=#" + s.C + ">" + s.M + //
           " <u>løàdéd</u> <font color=#" + s.A + ">" + s.M +                   //
           " <font color=#" + s.C + ">quibbet " + frameTail(r, true) + kTrailer;
}

QString loadLine2(const settings::SettingsRecord &r, const QString &handle, const QString &style) {
    const Symbols s(r);
    return frameHead(Closers::IUB, r) + ">  id: <font color=#" + s.A + "><u>" + handle +
           "</u><font color=#" + s.C + "> " + s.M +                                        //
           " stylè: <font color=#" + s.A + "><u>" + style + "</u> <font color=#" + s.C + ">" + //
           s.M + " <a href=" + kDownloadPage + ">dl hérè</a> " + frameTail(r, false) +
           hostlink::kTrailerMixedCase;
}

QString idleLine(const settings::SettingsRecord &r, const QString &handle, const QString &hours,
                 const QString &mins) {
    const Symbols s(r);
    return frameHead(Closers::BUI, r) + ">  zorvel  " + s.M +                     //
           "<font color=#" + s.A + "> " + handle + " is idlè <font color=#" + s.C + //
           ">" + s.M + "<font color=#" + s.C + "> timé: <font color=#" + s.A + ">" + //
           hours + ":" + mins + " " + frameTail(r, true) + kTrailer;
}

QString messageLine(const settings::SettingsRecord &r, const QString &reason) {
    const Symbols s(r);
    return frameHead(Closers::BUI, r) + "> msg: <font color=#" + s.A + ">" + reason + " " +
           s.M + " <font color=#" + s.C + "> stylé: <font color=#" + s.A + ">" + s.style +
           "<font color=#" + s.C + "> .. " + frameTail(r, false) + kTrailer;
}

QString unloadLine(const settings::SettingsRecord &r) {
    const Symbols s(r);
    return frameHead(Closers::BIU, r) + ">  zorvel " + s.M + " <font color=#" + s.A +
           ">brondel<font color=#" + s.C + "> " + s.M + " <u>ùñløàdéd</u> <font color=#" + s.A +
           ">" + s.M + " <font color=#" + s.C + ">quibbet  " + frameTail(r, false) + kTrailer;
}

QString identityLine(const settings::SettingsRecord &r, const QString &handle,
                     const QString &style) {
    const Symbols s(r);
    return frameHead(Closers::BIU, r) + ">  id: <font color=#" + s.A + "><u>" + handle +
           "</u><font color=#" + s.C + "> " + s.M + " stylè:<font color=#" + s.A + "> <u>" +
           style + "</u> <font color=#" + s.C + ">" + s.M + " <a href=" + kDownloadPage +
           ">dl hérè</a> " + frameTail(r, false) + kTrailer;
}

} // namespace app
