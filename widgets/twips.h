#pragma once

#include <cmath>

namespace widgets {

// Twips, the unit of every window position and size, at 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;

// Twips in whole pixels as integer division gives them: toward zero.
inline constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }
// Twips in whole pixels rounded down, so that a place left of or above the
// origin stays there.
inline int twipsToPixelsDown(int twips) { return int(std::floor(twips / double(kTwipsPerPixel))); }

} // namespace widgets
