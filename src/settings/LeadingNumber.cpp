// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/LeadingNumber.h"

#include <cctype>
#include <string>

#include "config/NumberText.h"

namespace tarnwell {
namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the number at the start of `s` with `point` as decimal separator; 0 without digits.
std::size_t PrefixLength(std::string_view s, char point) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    if (IsDigit(s[i])) {
      digits = true;
    } else if (s[i] == point && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t first = j;
    while (j < s.size() && IsDigit(s[j])) ++j;
    if (j > first) i = j;
  }
  return i;
}

}  // namespace

double LeadingNumber(std::string_view text, const Regional& regional) {
  std::size_t b = 0;
  while (b < text.size() && (text[b] == ' ' || text[b] == '\t')) ++b;
  const std::string_view s = text.substr(b);
  std::size_t len = PrefixLength(s, '.');
  if (regional.decimal != '.') {
    const std::size_t regionalLen = PrefixLength(s, regional.decimal);
    if (regionalLen > len) len = regionalLen;
  }
  if (len == 0) return 0.0;
  // A prefix such as "5." or "1e400" that does not convert counts as no number.
  return ToNumber(s.substr(0, len), regional).value_or(0.0);
}

}  // namespace tarnwell
