// Twips, the unit in which report layouts are declared: 1440 to the inch, 20 to
// the point. Layouts stay in twips until the moment of painting, so that one
// layout gives the same pages on the screen, on paper and in a PDF.
#pragma once

#include <cmath>

namespace reports {

inline constexpr int twipsPerInch = 1440;
inline constexpr int twipsPerPoint = 20;

// Twips in one millimetre (1440 / 25.4), for margins given in millimetres.
inline constexpr double twipsPerMillimetre = twipsPerInch / 25.4;

// Whole pixels of a screen with `dotsPerInch` logical dots per inch, for widgets sized in twips.
inline int toPixels(int twips, double dotsPerInch) {
    return int(std::lround(twips * dotsPerInch / twipsPerInch));
}

} // namespace reports
