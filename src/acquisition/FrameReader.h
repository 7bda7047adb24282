// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

#include "acquisition/Reading.h"
#include "config/AppConfig.h"

namespace tarnwell {

// Reads one frame: a window of at most NofChars characters from the frame's start, less the
// first OmitCh, decides the decimals and is read as a number.
class FrameReader {
 public:
  FrameReader(const AppConfig& config, const Regional& regional)
      : config_(config), regional_(regional) {}

  // `start` is the 1-based position of the frame's first character in `buffer`, `end` the
  // position of its terminator, which was read at `readAt`. Nothing when the window holds no
  // number.
  std::optional<Reading> Read(std::string_view buffer, std::size_t start, std::size_t end,
                              Instant readAt) const;

 private:
  const AppConfig& config_;
  const Regional& regional_;
};

}  // namespace tarnwell
