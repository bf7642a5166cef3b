#pragma once

// The keys of the settings file's one section (kSection), as the program
// names them; the file stores them upper-cased.
#include "settings/settingsrecord.h"

#include <QString>

namespace settings::keys {

inline constexpr QLatin1String kHandle{"handle"};
inline constexpr QLatin1String kReason{"reason"};     // the idle reason
inline constexpr QLatin1String kLastIdle{"lastidle"}; // the idle clock when idle mode last went off
inline constexpr QLatin1String kMinutesUsed{"minsused"}; // read by no one: see the idle tick
inline constexpr QLatin1String kFont{"font"};            // the running window's font face
// Minutes without input before idle mode goes on by itself (autoidle/).
inline constexpr QLatin1String kAutoIdle{"autoidle"};
// The style in effect.
inline constexpr QLatin1String kStyleName{"preset"};
inline constexpr QLatin1String kFontColour{"pfcolor"};
inline constexpr QLatin1String kAsciiColour{"pacolor"};
inline constexpr QLatin1String kFrontAscii{"pfascii"};
inline constexpr QLatin1String kMiddleAscii{"pmascii"};
inline constexpr QLatin1String kBackAscii{"pbascii"};

// The key a field of the style in effect is stored under.
constexpr QLatin1String keyOf(Field field) {
    switch (field) {
    case Field::StyleName:
        return kStyleName;
    case Field::FontColour:
        return kFontColour;
    case Field::AsciiColour:
        return kAsciiColour;
    case Field::FrontAscii:
        return kFrontAscii;
    case Field::MiddleAscii:
        return kMiddleAscii;
    case Field::BackAscii:
        break;
    }
    return kBackAscii;
}

} // namespace settings::keys
