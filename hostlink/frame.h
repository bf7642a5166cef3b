#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace hostlink {

// The order in which a line closes bold, italic and underline: each
// announcement keeps its own.
enum class Closers {
    IUB, // "</i></u></b>": start-up, idle on and idle off
    BUI, // "</b></u></i>": the idle tick
    BIU, // "</b></i></u>": unload, statistics, handle, style shop, styles
};

// The trailer that ends most lines; the start-up's second line writes it in
// mixed case.
inline constexpr QLatin1String kTrailer("<font color=#FFFFFC>");
inline constexpr QLatin1String kTrailerMixedCase("<font color=#ffFfFc>");

QString closers(Closers order);

// The fields every line repeats, read from the record as the line is
// composed.
QString asciiColour(const settings::SettingsRecord &record);
QString fontColour(const settings::SettingsRecord &record);
QString middleAscii(const settings::SettingsRecord &record);

// The head of a line: closers, the arial narrow font in the ascii colour, the
// front ascii, then "<font color=#" and the font colour. The ">" that opens
// the body is the first character of the line's own next piece.
QString frameHead(Closers order, const settings::SettingsRecord &record);

// The tail: the back ascii in the ascii colour, with or without one blank
// before it. The trailer (or none) follows it.
QString frameTail(const settings::SettingsRecord &record, bool blankBeforeBack);

} // namespace hostlink
