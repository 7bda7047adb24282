// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

namespace tarnwell {

// A point on the screen in pixels, origin at the top left, y growing downwards.
struct PixelPoint {
  double x = 0;
  double y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// Whole pixels: columns x to x + width - 1, rows y to y + height - 1.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// True when the joined segments through `points` outnumber the pixel columns they cross: drawn
// one by one, most of them would only paint over each other.
bool MoreSegmentsThanColumns(std::span<const PixelPoint> points);

// The pixels of a `width` x `height` picture that the joined segments through `points` cover,
// column by column: in each pixel column, the rows from the lowest to the highest point the line
// reaches there, the points where it crosses into the next column included, so that neighbouring
// columns meet and the line stays unbroken. Columns that share rows are merged into rectangles.
std::vector<PixelRect> CoverColumns(std::span<const PixelPoint> points, int width, int height);

}  // namespace tarnwell
