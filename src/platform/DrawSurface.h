// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwell {

struct DrawColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const DrawColor&, const DrawColor&) = default;
};

struct DrawFont {
  std::string name;
  double points = 8;
  bool bold = false;
  friend bool operator==(const DrawFont&, const DrawFont&) = default;
};

// A picture box to draw on, in its own units (twips), origin at the top left, y growing
// downwards. The inner (scale) size is the drawing area; the outer size includes any border.
class DrawSurface {
 public:
  virtual ~DrawSurface() = default;

  // Erases the whole picture to `back`; the pen width is kept.
  virtual void Clear(DrawColor back) = 0;
  // In pixels of the screen, whatever the drawing units.
  virtual void SetPenWidth(int pixels) = 0;
  virtual int PenWidth() const = 0;
  virtual void Line(double x1, double y1, double x2, double y2, DrawColor color) = 0;
  // (x, y) is the top left corner of the text.
  virtual void Text(double x, double y, std::string_view text, const DrawFont& font,
                    DrawColor color) = 0;

  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
};

}  // namespace tarnwell
