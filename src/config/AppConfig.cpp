// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/AppConfig.h"

#include <algorithm>
#include <optional>

#include "config/NumberText.h"

namespace tarnwell {
namespace {

std::optional<Rgb> ColorOf(const Regional& regional, const Value& r, const Value& g,
                           const Value& b) {
  const auto rn = r.AsNumber(regional), gn = g.AsNumber(regional), bn = b.AsNumber(regional);
  if (!rn || !gn || !bn) return std::nullopt;
  const auto ri = ToInt16(*rn), gi = ToInt16(*gn), bi = ToInt16(*bn);
  if (!ri || !gi || !bi) return std::nullopt;
  return MakeColor(*ri, *gi, *bi);
}

}  // namespace

Rgb MakeColor(int red, int green, int blue) {
  auto part = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
  return Rgb{part(red), part(green), part(blue)};
}

bool AppConfig::UpdateDerivedColors(const Regional& regional) {
  const auto line = ColorOf(regional, LineRed, LineGreen, LineBlue);
  const auto font = ColorOf(regional, FontRed, FontGreen, FontBlue);
  if (!line || !font) return false;
  LineColor = *line;
  FontColor = *font;
  return true;
}

bool AppConfig::BackColor(const Regional& regional, Rgb* color) const {
  const auto back = ColorOf(regional, BackRed, BackGreen, BackBlue);
  if (!back) return false;
  *color = *back;
  return true;
}

Rgb AppConfig::ShownBackColor(const Regional& regional) const {
  Rgb back{5, 5, 5};
  BackColor(regional, &back);
  return back;
}

}  // namespace tarnwell
