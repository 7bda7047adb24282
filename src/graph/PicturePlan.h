// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graph/PixelLines.h"
#include "platform/DrawList.h"

namespace tarnwell {

// One step of painting a picture on a screen, in the order of the picture.
struct PaintStep {
  enum class Kind : std::uint8_t {
    kClearAll,   // the whole picture box in `color`
    kFillRects,  // rects [first, first + count) in `color`
    kLines,      // single segments [first, first + count) with a pen of `color` and `penWidth`
    kText,       // the picture's text number `first` with its top left corner at (x, y)
  };
  Kind kind = Kind::kClearAll;
  DrawColor color;
  int penWidth = 1;
  // Screen pixels per rectangle column: a dense trace's columns are the picture box's own pixels,
  // its rows and every other rectangle the screen's.
  double across = 1;
  std::size_t first = 0;
  std::size_t count = 0;
  double x = 0;
  double y = 0;
};

struct PixelSegment {
  PixelPoint from;
  PixelPoint to;
};

// How a picture is painted, worked out once for every toolkit: a trace of more samples than
// pixel columns as the rows it covers in each column (CoverColumns), level and upright lines of
// one pixel as the rectangles they are, any other line as a line of its own (a polyline would
// leave out the tip pixels of sharp turns), texts where the picture has them.
struct PicturePlan {
  std::vector<PaintStep> steps;
  // Rectangles of screen pixels (columns `across` screen pixels wide).
  std::vector<PixelRect> rects;
  // Segments in pixels of the picture box.
  std::vector<PixelSegment> segments;
};

// The plan for `picture` on a picture box `width` by `height` pixels, `pixelsPerTwip` pixels to
// a twip, on a screen of `ratio` screen pixels to one of the box's each way. `plan` is reused
// so that a tick allocates nothing once the sizes are reached.
void PlanPicture(const DrawList& picture, double pixelsPerTwip, int width, int height, double ratio,
                 PicturePlan& plan);

}  // namespace tarnwell
