// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "platform/Regional.h"

namespace tarnwell {

// A loosely typed setting: holds exactly the text read from config.ini, or a number the
// program assigned, and is written back in the form it holds.
class Value {
 public:
  enum class Kind { kText, kInteger, kSingle, kDouble };

  Value() = default;
  Value(int number) : kind_(Kind::kInteger), number_(number) {}  // NOLINT: defaults read naturally
  static Value Text(std::string text);
  static Value Single(double number);
  static Value Double(double number);

  bool IsText() const { return kind_ == Kind::kText; }

  // The number it holds or reads as (a text with either decimal mark, as config.ini may have been
  // written under another regional setting); nothing for a text that is not a number.
  std::optional<double> AsNumber(const Regional& regional) const;
  // As AsNumber, with `fallback` for a text that is not a number.
  double NumberOr(const Regional& regional, double fallback) const;
  // True when it is, as a number, equal to `n` (a text that is not a number is not).
  bool Equals(const Regional& regional, double n) const;
  std::string ToText(const Regional& regional) const;

 private:
  Kind kind_ = Kind::kText;
  std::string text_;
  double number_ = 0;
};

}  // namespace tarnwell
