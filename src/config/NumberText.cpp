// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tarnwell {
namespace {

bool IsDropped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::optional<double> RadixValue(const std::string& s, std::size_t pos, int radix) {
  double v = 0;
  bool any = false;
  for (; pos < s.size(); ++pos) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s[pos])));
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0 || d >= radix) break;
    v = v * radix + d;
    any = true;
  }
  // A mark without digits holds no number, and endless digits from a garbled stream must not
  // put an infinity into the history: neither is a reading of 0.
  if (!any || !std::isfinite(v)) return std::nullopt;
  return v;
}

// Length of the number at the start of s: a sign, digits with at most one `point`, an exponent
// (E, e, D or d); 0 without digits.
std::size_t NumberPrefix(std::string_view s, char point) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool hasDigits = false;
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      hasDigits = true;
    } else if (s[i] == point && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!hasDigits) return 0;
  if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    const std::size_t digitsStart = j;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
    if (j > digitsStart) i = j;
  }
  return i;
}

// from_chars leaves the value alone when it lies beyond the double range; the decimal exponent
// of the first significant digit tells an overflow from an underflow. `digits` has no sign.
bool Overflows(std::string_view digits) {
  const auto e = digits.find_first_of("eE");
  const std::string_view mantissa = digits.substr(0, e);
  long exponent = 0;
  if (e != std::string_view::npos) {
    std::size_t i = e + 1;
    const bool negative = i < digits.size() && digits[i] == '-';
    if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) ++i;
    for (; i < digits.size() && exponent < 100000; ++i)
      exponent = exponent * 10 + (digits[i] - '0');
    if (negative) exponent = -exponent;
  }
  const auto point = std::min(mantissa.find('.'), mantissa.size());
  const auto first = mantissa.find_first_not_of("0.");
  if (first == std::string_view::npos) return false;
  const long magnitude =
      first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point);
  return magnitude + exponent > 0;
}

double ParsePrefix(std::string_view prefix, char point) {
  std::string s(prefix);
  for (char& c : s) {
    if (c == point) c = '.';
    if (c == 'D' || c == 'd') c = 'e';
  }
  // from_chars ignores the C locale, which the toolkit sets from the user's environment.
  std::size_t b = 0;
  bool negative = false;
  if (b < s.size() && (s[b] == '+' || s[b] == '-')) negative = s[b++] == '-';
  double v = 0;
  const auto res = std::from_chars(s.data() + b, s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    v = Overflows(std::string_view(s).substr(b)) ? HUGE_VAL : 0.0;
  } else if (res.ec != std::errc()) {
    v = 0;
  }
  return negative ? -v : v;
}

// The whole text, blanks around it allowed, as a number with one of `points` as its decimal mark.
std::optional<double> WholeNumber(std::string_view text, std::initializer_list<char> points) {
  const auto b = text.find_first_not_of(" \t");
  if (b == std::string_view::npos) return std::nullopt;
  const std::string_view s = text.substr(b, text.find_last_not_of(" \t") + 1 - b);
  for (char point : points) {
    if (NumberPrefix(s, point) != s.size()) continue;
    const double v = ParsePrefix(s, point);
    if (std::isfinite(v)) return v;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

double Val(std::string_view text) { return ReadingVal(text).value_or(0.0); }

std::optional<double> ReadingVal(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (!IsDropped(c)) s.push_back(c);
  }
  if (s.size() >= 2 && s[0] == '&') {
    const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
    if (k == 'H') return RadixValue(s, 2, 16);
    if (k == 'O') return RadixValue(s, 2, 8);
  }
  const std::size_t len = NumberPrefix(s, '.');
  if (len == 0) return std::nullopt;
  const double v = ParsePrefix(std::string_view(s).substr(0, len), '.');
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> ToNumber(std::string_view text, const Regional& regional) {
  return WholeNumber(text, {regional.decimal, '.'});
}

std::optional<double> StoredNumber(std::string_view text, const Regional& regional) {
  return WholeNumber(text, {regional.decimal, '.', ','});
}

double LeadingNumber(std::string_view text, const Regional& regional) {
  const std::string_view s = text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
  const std::size_t withPoint = NumberPrefix(s, '.');
  const std::size_t withRegional = NumberPrefix(s, regional.decimal);
  const char point = withRegional > withPoint ? regional.decimal : '.';
  const std::size_t len = std::max(withPoint, withRegional);
  const double v = len == 0 ? 0.0 : ParsePrefix(s.substr(0, len), point);
  return std::isfinite(v) ? v : 0.0;
}

std::string NumberToText(double value, const Regional& regional, int significant) {
  if (value == 0) return "0";  // also for -0
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", significant, value);
  std::string s(buf);
  // %G keeps trailing zeros only with '#'; it may still give an exponent for large or tiny
  // values, which stays in the "1E+20" form.
  for (char& c : s) {
    if (c == '.') c = regional.decimal;
  }
  return s;
}

double RoundHalfEven(double value) { return std::nearbyint(value); }

std::optional<std::int16_t> ToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = RoundHalfEven(value);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

}  // namespace tarnwell
