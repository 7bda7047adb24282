// SPDX-License-Identifier: GPL-3.0-or-later
#include "graph/PicturePlan.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace tarnwell {
namespace {

class Planner {
 public:
  Planner(PicturePlan& plan, int width, int height, double ratio)
      : plan_(plan),
        ratio_(ratio),
        width_(width),
        rows_(static_cast<int>(std::lround(height * ratio))),
        columns_(static_cast<int>(std::lround(width * ratio))) {}

  void Clear(DrawColor color) { plan_.steps.push_back(PaintStep{.color = color}); }

  void Text(const DrawOp& op, std::size_t index, double scale) {
    plan_.steps.push_back(PaintStep{.kind = PaintStep::Kind::kText,
                                    .color = op.color,
                                    .penWidth = op.penWidth,
                                    .first = index,
                                    .x = op.x1 * scale,
                                    .y = op.y1 * scale});
  }

  // Joined lines of one pen through `points` (pixels of the box).
  void Lines(const DrawOp& pen, std::span<const PixelPoint> points) {
    if (pen.penWidth <= 1 && MoreSegmentsThanColumns(points)) {
      onScreen_.assign(points.begin(), points.end());
      for (PixelPoint& p : onScreen_) p.y *= ratio_;
      Rects(pen, CoverColumns(onScreen_, width_, rows_), ratio_);
      return;
    }
    std::vector<PixelRect> rects;
    const std::size_t first = plan_.segments.size();
    for (std::size_t i = 1; i < points.size(); ++i) {
      const PixelPoint a = points[i - 1], b = points[i];
      if (pen.penWidth <= 1 && (a.x == b.x || a.y == b.y)) {
        const PixelPoint ends[] = {{a.x * ratio_, a.y * ratio_}, {b.x * ratio_, b.y * ratio_}};
        for (const PixelRect& r : CoverColumns(ends, columns_, rows_)) rects.push_back(r);
      } else {
        plan_.segments.push_back(PixelSegment{a, b});
      }
    }
    Rects(pen, rects, 1);
    if (plan_.segments.size() == first) return;
    plan_.steps.push_back(PaintStep{.kind = PaintStep::Kind::kLines,
                                    .color = pen.color,
                                    .penWidth = std::max(pen.penWidth, 1),
                                    .first = first,
                                    .count = plan_.segments.size() - first});
  }

 private:
  void Rects(const DrawOp& pen, const std::vector<PixelRect>& rects, double across) {
    if (rects.empty()) return;
    plan_.steps.push_back(PaintStep{.kind = PaintStep::Kind::kFillRects,
                                    .color = pen.color,
                                    .across = across,
                                    .first = plan_.rects.size(),
                                    .count = rects.size()});
    plan_.rects.insert(plan_.rects.end(), rects.begin(), rects.end());
  }

  PicturePlan& plan_;
  double ratio_;
  int width_, rows_, columns_;
  std::vector<PixelPoint> onScreen_;
};

}  // namespace

void PlanPicture(const DrawList& picture, double pixelsPerTwip, int width, int height, double ratio,
                 PicturePlan& plan) {
  plan.steps.clear();
  plan.rects.clear();
  plan.segments.clear();
  Planner planner(plan, width, height, ratio);
  const auto& ops = picture.Ops();
  if (ops.empty() || ops.front().kind != DrawOp::Kind::kClear) planner.Clear(picture.BackColor());
  // Consecutive lines of one pen, each starting where the one before ends, go out together.
  std::vector<PixelPoint> joined;
  joined.reserve(ops.size() + 1);
  const DrawOp* pen = nullptr;
  const auto flush = [&] {
    if (pen) planner.Lines(*pen, joined);
    joined.clear();
    pen = nullptr;
  };
  std::size_t texts = 0;
  for (const DrawOp& op : ops) {
    if (op.kind == DrawOp::Kind::kLine) {
      const PixelPoint from{op.x1 * pixelsPerTwip, op.y1 * pixelsPerTwip};
      if (!pen || !(pen->color == op.color) || pen->penWidth != op.penWidth ||
          !(joined.back() == from)) {
        flush();
        pen = &op;
        joined.push_back(from);
      }
      joined.push_back(PixelPoint{op.x2 * pixelsPerTwip, op.y2 * pixelsPerTwip});
      continue;
    }
    flush();
    if (op.kind == DrawOp::Kind::kClear) {
      planner.Clear(op.color);
    } else {
      planner.Text(op, texts++, pixelsPerTwip);
    }
  }
  flush();
}

}  // namespace tarnwell
