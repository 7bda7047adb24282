// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPointF>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/qt/DirectFill.h"

class QPainter;

namespace tarnwell {

// The pixels a dense trace of a thin pen covers, painted as few rectangles. Where many samples
// fall into one pixel column, the joined segments inside a column (or crossing into the next)
// cover the rows between their lowest and highest point there; the columns' spans are gathered
// row by row into runs, and runs that stay the same over many rows into one rectangle, so that
// a trace flickering over the whole height costs little more than one filled area instead of a
// steep line per sample.
class ColumnCover {
 public:
  ColumnCover(int width, int height);

  // Takes the segment from `a` to `b` (pixels) when it is narrower than a column and joins the
  // rows already covered in its columns; false when it is to be drawn as a line.
  bool Add(QPointF a, QPointF b);
  bool Empty() const { return used_.empty(); }
  // Paints what was taken (only inside `within`, in the painter's pixels, when given) and
  // starts empty again.
  void Paint(QPainter& painter, const QColor& color, const QRegion* within = nullptr);
  // Writes every pixel of the picture in one pass, what was taken in `color` and the rest in
  // `ground`, in place of filling the picture first; keeps what was taken. False, writing
  // nothing, where too little was taken to be worth it or the painter must paint it.
  bool PaintOnGround(QPainter& painter, const QColor& color, const QColor& ground);

 private:
  struct Rows {
    int top, bottom;
  };
  // The rows from y1 to y2 within the picture; empty (top > bottom) when outside it.
  Rows RowsOf(double y1, double y2) const;
  // Rows `low` to `high` (whole numbers) within the picture.
  Rows Span(double low, double high) const;
  // True when `rows` touch what `column` covers already, or it covers nothing yet.
  bool Joins(int column, Rows rows) const;
  void Extend(int column, Rows rows);
  // The nearest columns left and right of `column` that Paint has not marked covered (-1 and
  // the width where there is none).
  int PrevClear(int column) const;
  int NextClear(int column) const;
  void SortColumns();
  // Writes the covered pixels inside `region` straight into the image, and the others in
  // `ground` where one is given.
  void PaintRows(const DirectTarget& target, const QRegion& region, QRgb pixel,
                 std::optional<QRgb> ground);
  void WriteRow(QRgb* line, int first, int last, QRgb pixel, std::optional<QRgb> ground) const;
  // Paints the covered pixels as rectangles through the painter.
  void PaintRects(QPainter& painter, const QColor& color);

  int width_;
  int height_;
  std::vector<int> top_;
  std::vector<int> bottom_;
  std::vector<int> used_;
  // Scratch of Paint, kept for the next picture.
  std::vector<int> starts_, ends_, order_;
  std::vector<std::uint64_t> bits_;
  std::vector<int> from_;
};

}  // namespace tarnwell
