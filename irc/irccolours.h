#pragma once

#include <QColor>

namespace irc {

// The colours an IRC colour code (\x03NN) stands for: 0 to 15 the sixteen
// standard ones, 16 to 98 the extended palette most clients now share.
inline constexpr int kColourCount = 99;
QColor colourOfCode(int code);

// The nearest of the sixteen standard colours (0 to 15), by a weighted
// distance that follows how far apart the eye sees them.
int nearestStandardColour(const QColor &colour);

// Whether a colour is sent as the default colour instead: one whose nearest
// standard colour is white (00) or black (01) would vanish on a light or a
// dark theme, so the reader's own text colour is the readable choice.
bool sentAsDefaultColour(const QColor &colour);

} // namespace irc
