#include "frame.h"

namespace hostlink {

using settings::Field;

QString closers(Closers order) {
    switch (order) {
    case Closers::IUB:
        return QStringLiteral("</i></u></b>");
    case Closers::BUI:
        return QStringLiteral("</b></u></i>");
    case Closers::BIU:
        break;
    }
    return QStringLiteral("</b></i></u>");
}

QString asciiColour(const settings::SettingsRecord &r) { return r.caption(Field::AsciiColour); }
QString fontColour(const settings::SettingsRecord &r) { return r.caption(Field::FontColour); }
QString middleAscii(const settings::SettingsRecord &r) { return r.caption(Field::MiddleAscii); }

QString frameHead(Closers order, const settings::SettingsRecord &r) {
    return closers(order) + QStringLiteral("<font face=\"arial narrow\" color=#") + asciiColour(r) +
           QStringLiteral(">") + r.caption(Field::FrontAscii) + QStringLiteral("<font color=#") +
           fontColour(r);
}

QString frameTail(const settings::SettingsRecord &r, bool blankBeforeBack) {
    return QStringLiteral("<font color=#") + asciiColour(r) +
           (blankBeforeBack ? QStringLiteral("> ") : QStringLiteral(">")) +
           r.caption(Field::BackAscii);
}

} // namespace hostlink
