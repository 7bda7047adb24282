// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPoint>
#include <QRegion>
#include <optional>

class QImage;
class QPainter;

namespace tarnwell {

// The 32-bit image a painter paints on plainly (no scaling or rotation, no clip set by hand, no
// blending), where pixels of an opaque colour can be written straight into the rows. The raster
// engine spends far more on thousands of one-pixel-wide rectangles than on their pixels.
struct DirectTarget {
  QImage* image;
  QPoint offset;  // of the painter's coordinates in the image
  QRegion clip;   // what may be written, in the image's pixels
};

// Nothing when `color` or the painter's state needs the painter itself.
std::optional<DirectTarget> DirectTargetOf(QPainter& painter, const QColor& color);

}  // namespace tarnwell
