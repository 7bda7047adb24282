// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "config/NumberText.h"

namespace tarnwell {
namespace {

// Rounds the decimal digits of |value| half away from zero at `decimals` places, working on the
// shortest text that reads back as the value, so 2.675 rounds to 2.68 as a person expects.
std::string RoundedDigits(double magnitude, int decimals, const Regional& regional) {
  char buf[400];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed);
  std::string s(buf, res.ptr);
  std::string intPart = s, frac;
  if (const auto dot = s.find('.'); dot != std::string::npos) {
    intPart = s.substr(0, dot);
    frac = s.substr(dot + 1);
  }
  const bool roundUp = static_cast<int>(frac.size()) > decimals && frac[decimals] >= '5';
  frac.resize(static_cast<std::size_t>(decimals), '0');
  std::string digits = intPart + frac;
  if (roundUp) {
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[i] == '9') digits[i--] = '0';
    if (i >= 0)
      ++digits[i];
    else
      digits.insert(digits.begin(), '1');
  }
  std::string out = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
  if (out.empty()) out = "0";
  if (decimals > 0) {
    out += regional.decimal;
    out += digits.substr(digits.size() - static_cast<std::size_t>(decimals));
  }
  return out;
}

}  // namespace

int DecimalCount(std::string_view TheString) {
  const auto p = TheString.find('.');
  if (p == std::string_view::npos || TheString.size() == 1) return 0;
  return static_cast<int>(TheString.size() - (p + 1));
}

std::string FormatForDecimals(std::uint8_t point) {
  if (point == 0) return "#0";
  if (point >= 7) return "#0.";
  return "#0." + std::string(point, '0');
}

std::optional<std::string> FormatNumber(double value, std::string_view pattern,
                                        const Regional& regional) {
  if (!std::isfinite(value)) return std::nullopt;
  if (pattern.empty()) return NumberToText(value, regional, 15);
  int decimals = 0;
  bool trailingPoint = false;
  // The patterns made for the readings hold only zeros after the point, one for each decimal.
  if (const auto dot = pattern.find('.'); dot != std::string_view::npos) {
    decimals = static_cast<int>(std::count(pattern.begin() + dot, pattern.end(), '0'));
    trailingPoint = decimals == 0;
  }
  std::string out = RoundedDigits(std::fabs(value), decimals, regional);
  const bool zero = out.find_first_not_of(std::string("0") + regional.decimal) == std::string::npos;
  if (std::signbit(value) && !zero) out.insert(out.begin(), '-');
  if (trailingPoint) out += regional.decimal;
  return out;
}

}  // namespace tarnwell
