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

QString frameHead(Closers order, const settings::SettingsRecord &r) {
    return closers(order) + QStringLiteral("<font face=\"arial narrow\" color=#") +
           r.caption(Field::AsciiColour) + QStringLiteral(">") + r.caption(Field::FrontAscii) +
           QStringLiteral("<font color=#") + r.caption(Field::FontColour);
}

QString frameTail(const settings::SettingsRecord &r, bool blankBeforeBack) {
    return QStringLiteral("<font color=#") + r.caption(Field::AsciiColour) +
           (blankBeforeBack ? QStringLiteral("> ") : QStringLiteral(">")) +
           r.caption(Field::BackAscii);
}

} // namespace hostlink
