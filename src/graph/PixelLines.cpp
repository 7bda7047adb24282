// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/PixelLines.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace tarnwell {
namespace {

bool Finite(PixelPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The height of the segment at `x`, which lies between the ends; weighted so that ends far apart
// cannot overflow.
double YAt(PixelPoint a, PixelPoint b, double x) {
  const double t = (x - a.x) / (b.x - a.x);
  return a.y * (1 - t) + b.y * t;
}

// A column sharing no more rows than this with the one before, and having others, starts
// rectangles of its own: the row or two where a trace steps on are not worth one.
constexpr int kFewRows = 2;

}  // namespace

bool MoreSegmentsThanColumns(std::span<const PixelPoint> points) {
  if (points.size() < 2) return false;
  const auto [left, right] = std::minmax_element(
      points.begin(), points.end(), [](PixelPoint p, PixelPoint q) { return p.x < q.x; });
  const double columns = std::floor(right->x) - std::floor(left->x) + 1;
  return static_cast<double>(points.size() - 1) > columns;
}

std::vector<PixelRect> CoverColumns(std::span<const PixelPoint> points, int width, int height) {
  // The pixel line (column or row) holding v, -1 before the first and `size` after the last.
  const auto lineOf = [](double v, int size) {
    if (std::isnan(v)) return -1;
    // Clamped, v + 1 is not negative, and dropping its fraction rounds it down.
    return static_cast<int>(std::clamp(v, -1.0, static_cast<double>(size)) + 1) - 1;
  };
  // The columns the points lie in, within the picture.
  const auto [leftmost, rightmost] = std::minmax_element(
      points.begin(), points.end(), [](PixelPoint p, PixelPoint q) { return p.x < q.x; });
  if (leftmost == points.end()) return {};
  const int first = std::max(lineOf(leftmost->x, width), 0);
  const int last = std::min(lineOf(rightmost->x, width), width - 1);
  if (points.size() == 2 && points[0].y == points[1].y) {
    // A level segment: one row of its columns.
    const int row = lineOf(points[0].y, height);
    if (first > last || row < 0 || row >= height || !Finite(points[0]) || !Finite(points[1])) {
      return {};
    }
    return {PixelRect{first, row, last - first + 1, 1}};
  }

  // The rows each column reaches, from column `first` on, -1 standing for any above the picture
  // and `height` for any below it. A column holds its points and those where the line crosses
  // its edges.
  const auto count = static_cast<std::size_t>(std::max(last - first + 1, 0));
  std::vector<int> top(count, height), bottom(count, -1);
  const auto add = [&](int column, double y) {
    if (column < first || column > last) return;
    const int row = lineOf(y, height);  // -1 above the picture, `height` below
    top[column - first] = std::min(top[column - first], row);
    bottom[column - first] = std::max(bottom[column - first], row);
  };
  int before = 0;  // the column of the point before, where it is finite
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PixelPoint b = points[i];
    if (!Finite(b)) continue;
    const int column = lineOf(b.x, width);
    add(column, b.y);
    if (i > 0 && Finite(points[i - 1]) && column != before) {
      // The edges x = k between the two points, within the picture.
      const int to = std::min(std::max(column, before), last + 1);
      for (int k = std::max(std::min(column, before) + 1, first); k <= to; ++k) {
        const double y = YAt(points[i - 1], b, k);
        add(k - 1, y);
        add(k, y);
      }
    }
    before = column;
  }

  // Rows a column shares with the one before carry on the rectangles they are in; the others end
  // or begin one. The open pieces lie top to bottom and hold the last column's rows together.
  struct Piece {
    int top, bottom, from;
  };
  std::deque<Piece> open;
  std::vector<PixelRect> rects;
  const auto end = [&rects](const Piece& p, int column) {
    rects.push_back(PixelRect{p.from, p.top, column - p.from, p.bottom - p.top + 1});
  };
  for (int c = first; c <= last + 1; ++c) {
    const bool covered = c <= last && top[c - first] < height && bottom[c - first] >= 0;
    const int t = covered ? std::max(top[c - first], 0) : height;
    const int b = covered ? std::min(bottom[c - first], height - 1) : -1;
    const int shared =
        open.empty() ? 0 : std::min(b, open.back().bottom) - std::max(t, open.front().top) + 1;
    if (!open.empty() && shared < b - t + 1 && shared <= kFewRows) {
      for (const Piece& p : open) end(p, c);
      open.clear();
    }
    while (!open.empty() && open.front().top < t) {
      Piece& p = open.front();
      if (p.bottom >= t) {
        end(Piece{p.top, t - 1, p.from}, c);
        p.top = t;
      } else {
        end(p, c);
        open.pop_front();
      }
    }
    while (!open.empty() && open.back().bottom > b) {
      Piece& p = open.back();
      if (p.top <= b) {
        end(Piece{b + 1, p.bottom, p.from}, c);
        p.bottom = b;
      } else {
        end(p, c);
        open.pop_back();
      }
    }
    if (!covered) continue;
    if (open.empty()) {
      open.push_back(Piece{t, b, c});
      continue;
    }
    if (t < open.front().top) open.push_front(Piece{t, open.front().top - 1, c});
    if (b > open.back().bottom) open.push_back(Piece{open.back().bottom + 1, b, c});
  }
  return rects;
}

}  // namespace tarnwell
