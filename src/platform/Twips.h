// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cmath>

namespace tarnwell {

// Positions and sizes on windows are twips, 1/1440 inch; the screen's logical dots per inch
// turn them into pixels. This is the one place where that conversion is made.
struct Twips {
  double dpi = 96.0;
  double ToPixels(double twips) const { return twips * dpi / 1440.0; }
  double FromPixels(double pixels) const { return pixels * 1440.0 / dpi; }
  // Whole pixels for a place or size that may come from config.ini and hold any number: kept
  // within what a window can take.
  int WholePixels(double twips) const {
    const double px = ToPixels(twips);
    if (!std::isfinite(px)) return 0;
    return static_cast<int>(std::lround(std::clamp(px, -1e6, 1e6)));
  }
  // Whole twips, as the settings store a window's place and size.
  double WholeTwips(int pixels) const { return std::round(FromPixels(pixels)); }
};

}  // namespace tarnwell
