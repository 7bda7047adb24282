// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

namespace tarnwell {

// The 1001 user-interface texts of the chosen language, UTF-8, indices 0 to 1000. Filled once
// at start-up by the language-file reader; every window reads it through Lang.
class LangTable {
 public:
  static constexpr int kFirst = 0;
  static constexpr int kLast = 1000;

  // The text at `index`, or nothing for an index outside 0 to 1000 (never clamped or wrapped).
  std::optional<std::string> Lang(int index) const {
    if (index < kFirst || index > kLast) return std::nullopt;
    return texts_[static_cast<std::size_t>(index)];
  }
  // As Lang, with an empty text for an index out of range; for callers whose indices are fixed.
  const std::string& Text(int index) const {
    static const std::string kEmpty;
    if (index < kFirst || index > kLast) return kEmpty;
    return texts_[static_cast<std::size_t>(index)];
  }
  void Set(int index, std::string text) {
    if (index >= kFirst && index <= kLast)
      texts_[static_cast<std::size_t>(index)] = std::move(text);
  }

 private:
  std::array<std::string, kLast + 1> texts_;
};

}  // namespace tarnwell
