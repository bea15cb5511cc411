#pragma once

namespace korvesta {

// Sizes in the program's texts are in twips: 1440 to the inch, converted to pixels at the
// screen's logical resolution.
constexpr int TwipsPerInch = 1440;

// The logical DPI of the primary screen; 96 when there is no screen (headless runs).
double screenLogicalDpi();

int twipsToPixels(int twips, double dpi);
int pixelsToTwips(int pixels, double dpi);
inline int twipsToPixels(int twips) { return twipsToPixels(twips, screenLogicalDpi()); }
inline int pixelsToTwips(int pixels) { return pixelsToTwips(pixels, screenLogicalDpi()); }

} // namespace korvesta
