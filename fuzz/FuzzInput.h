// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarnwell::fuzz {

// Reads a fuzz input from the front; past its end every byte reads as 0 and every take is
// empty, so any input, however short, drives a whole run.
class FuzzInput {
 public:
  explicit FuzzInput(std::string_view bytes) : rest_(bytes) {}

  bool Empty() const { return rest_.empty(); }
  std::size_t Left() const { return rest_.size(); }

  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  std::string_view Take(std::size_t n) {
    const std::string_view taken = rest_.substr(0, std::min(n, rest_.size()));
    rest_.remove_prefix(taken.size());
    return taken;
  }

  std::string_view Rest() { return Take(rest_.size()); }

 private:
  std::string_view rest_;
};

}  // namespace tarnwell::fuzz
