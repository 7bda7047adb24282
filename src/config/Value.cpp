// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/Value.h"

#include "config/NumberText.h"

namespace tarnwell {

Value Value::Text(std::string text) {
  Value v;
  v.kind_ = Kind::kText;
  v.text_ = std::move(text);
  return v;
}

Value Value::Single(double number) {
  Value v;
  v.kind_ = Kind::kSingle;
  v.number_ = static_cast<float>(number);
  return v;
}

Value Value::Double(double number) {
  Value v;
  v.kind_ = Kind::kDouble;
  v.number_ = number;
  return v;
}

std::optional<double> Value::AsNumber(const Regional& regional) const {
  if (kind_ == Kind::kText) return StoredNumber(text_, regional);
  return number_;
}

double Value::NumberOr(const Regional& regional, double fallback) const {
  return AsNumber(regional).value_or(fallback);
}

bool Value::Equals(const Regional& regional, double n) const {
  const auto v = AsNumber(regional);
  return v && *v == n;
}

std::string Value::ToText(const Regional& regional) const {
  switch (kind_) {
    case Kind::kText:
      return text_;
    case Kind::kSingle:
      return NumberToText(number_, regional, 7);
    case Kind::kInteger:
    case Kind::kDouble:
      break;
  }
  return NumberToText(number_, regional, 15);
}

}  // namespace tarnwell
