// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// Positions and sizes on windows are twips, 1/1440 inch; the screen's logical dots per inch
// turn them into pixels. This is the one place where that conversion is made.
struct Twips {
  double dpi = 96.0;
  double PerPixel() const { return 1440.0 / dpi; }
  double ToPixels(double twips) const { return twips * dpi / 1440.0; }
  double FromPixels(double pixels) const { return pixels * 1440.0 / dpi; }
};

}  // namespace tarnwell
