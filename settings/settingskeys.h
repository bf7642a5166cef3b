#pragma once

// The keys of the settings file's one section (kSection), as the program
// names them; the file stores them upper-cased.
namespace settings::keys {

inline constexpr const char *kHandle = "handle";
inline constexpr const char *kReason = "reason";     // the idle reason
inline constexpr const char *kLastIdle = "lastidle"; // the idle clock when idle mode last went off
inline constexpr const char *kMinutesUsed = "minsused"; // read by no one: see MainStrip::idleTick
inline constexpr const char *kFont = "font";            // the running window's font face
// The style in effect.
inline constexpr const char *kStyleName = "preset";
inline constexpr const char *kFontColour = "pfcolor";
inline constexpr const char *kAsciiColour = "pacolor";
inline constexpr const char *kFrontAscii = "pfascii";
inline constexpr const char *kMiddleAscii = "pmascii";
inline constexpr const char *kBackAscii = "pbascii";

} // namespace settings::keys
