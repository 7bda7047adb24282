// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/BesidePosition.h"

#include <algorithm>

namespace tarnwell {
namespace {

long long Covered(const ScreenRect& owner, ScreenPoint at, int width, int height) {
  const long long w = std::min(owner.Right(), at.x + width) - std::max(owner.left, at.x);
  const long long h = std::min(owner.Bottom(), at.y + height) - std::max(owner.top, at.y);
  return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

ScreenPoint BesidePosition(const ScreenRect& owner, int width, int height,
                           const ScreenRect& screen) {
  const int top = std::clamp(owner.top, screen.top, std::max(screen.top, screen.Bottom() - height));
  if (owner.Right() + width <= screen.Right()) return {owner.Right(), top};
  if (owner.left - width >= screen.left) return {owner.left - width, top};
  const ScreenPoint atRight{std::max(screen.left, screen.Right() - width), top};
  const ScreenPoint atLeft{screen.left, top};
  return Covered(owner, atLeft, width, height) < Covered(owner, atRight, width, height) ? atLeft
                                                                                        : atRight;
}

}  // namespace tarnwell
