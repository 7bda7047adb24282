// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DrawSurface.h"

namespace tarnwell {

// One recorded drawing step. A line runs from (x1, y1) to (x2, y2); a text stands at (x1, y1)
// and its characters and font are DrawList::TextOf(op).
struct DrawOp {
  enum class Kind : std::uint8_t { kClear, kLine, kText };
  Kind kind = Kind::kLine;
  DrawColor color;
  int penWidth = 1;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::uint32_t text = 0;
  friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

struct DrawText {
  std::string text;
  DrawFont font;
  friend bool operator==(const DrawText&, const DrawText&) = default;
};

// A surface that records what is drawn on it, so that the picture can be checked without a
// display and painted later, whole, by the toolkit. Clearing drops everything drawn before, as
// clearing a picture box does, so the list never holds more than one picture.
class DrawList : public DrawSurface {
 public:
  void SetSizes(double scaleWidth, double scaleHeight, double width, double height) {
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
    width_ = width;
    height_ = height;
  }

  void Clear(DrawColor back) override {
    ops_.clear();
    texts_.clear();
    back_ = back;
    DrawOp op;
    op.kind = DrawOp::Kind::kClear;
    op.color = back;
    ops_.push_back(op);
  }
  void SetPenWidth(int pixels) override { penWidth_ = pixels; }
  int PenWidth() const override { return penWidth_; }
  void Line(double x1, double y1, double x2, double y2, DrawColor color) override {
    ops_.push_back(DrawOp{DrawOp::Kind::kLine, color, penWidth_, x1, y1, x2, y2, 0});
  }
  void Text(double x, double y, std::string_view text, const DrawFont& font,
            DrawColor color) override {
    ops_.push_back(DrawOp{DrawOp::Kind::kText, color, penWidth_, x, y, x, y,
                          static_cast<std::uint32_t>(texts_.size())});
    texts_.push_back(DrawText{std::string(text), font});
  }

  double ScaleWidth() const override { return scaleWidth_; }
  double ScaleHeight() const override { return scaleHeight_; }
  double Width() const override { return width_; }
  double Height() const override { return height_; }

  const std::vector<DrawOp>& Ops() const { return ops_; }
  const DrawText& TextOf(const DrawOp& op) const { return texts_[op.text]; }
  // The colour of the last clearing; black before any.
  DrawColor BackColor() const { return back_; }
  // The same drawing steps, so the same picture at the same size.
  bool SameSteps(const DrawList& other) const {
    return ops_ == other.ops_ && texts_ == other.texts_;
  }

 private:
  std::vector<DrawOp> ops_;
  std::vector<DrawText> texts_;
  DrawColor back_;
  int penWidth_ = 1;
  double scaleWidth_ = 0, scaleHeight_ = 0, width_ = 0, height_ = 0;
};

}  // namespace tarnwell
