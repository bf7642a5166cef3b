#pragma once

// The program's pace: its two timers, and the pauses between the lines of an
// announcement and before a window shows. A pause written with a fraction is
// taken as the nearest whole second (wholeSeconds) where it is used.
namespace hostlink::pacing {

// The minute counter counts minutes used; the idle tick posts the idle lines.
inline constexpr int kMinuteCounterMs = 60000;
inline constexpr int kIdleTickMs = 59000;

// Between the two start-up lines, and the idle tick's two lines.
inline constexpr double kBetweenLoadLines = 0.57;
inline constexpr int kBetweenIdleLines = 1;
// Between the two closing lines.
inline constexpr int kBetweenClosingLines = 1;
// Before the first statistics line, and before each of the three others.
inline constexpr double kBeforeStatistics = 0.36;
inline constexpr int kBeforeStyleStatistics = 1;
inline constexpr double kBeforeColourStatistics = 1.46;
inline constexpr int kBeforeIdleStatistics = 1;
// Before a menu shows beside the main strip.
inline constexpr double kBeforeMenuShows = 0.22;
// Between the options window's front and back ascii prompts.
inline constexpr double kBetweenAsciiPrompts = 0.35;

} // namespace hostlink::pacing
