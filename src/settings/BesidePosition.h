// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tarnwell {

// A rectangle on the screen in pixels; `left + width` is the first column right of it.
struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
};

struct ScreenPoint {
  int x = 0, y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where the top left corner of a window `width` by `height` (frame included) stands beside
// `owner` within `screen` (its work area): to its right when there is room, else to its left,
// else against the screen edge on the side where it covers less of the owner; at the owner's
// top, moved up or down as far as the screen needs.
ScreenPoint BesidePosition(const ScreenRect& owner, int width, int height,
                           const ScreenRect& screen);

}  // namespace tarnwell
