// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string_view>

#include "acquisition/FrameState.h"
#include "acquisition/SampleHistory.h"
#include "config/AppConfig.h"
#include "platform/DateTime.h"

namespace tarnwell {

// Turns one frame into a value and a number format: a window of at most NofChars characters
// from the frame's start, less the first OmitCh, decides the decimals and is read as a number.
// The value goes to the sample history, or to CurrentValue while a recording runs.
class FrameHandler {
 public:
  FrameHandler(const AppConfig& config, FrameState& state, SampleHistory& history,
               const Regional& regional);

  // `recording` tells whether a recording runs; `runWriter` runs the record writer once for a
  // frame read at the instant it is given.
  void SetRecording(std::function<bool()> recording, std::function<void(Instant)> runWriter);

  // `start` is the 1-based position of the frame's first character in `buffer`, `end` the
  // position of its terminator, which was read at `readAt`. Call only from the receive path.
  // True when the frame gave a reading.
  bool HandleFrame(std::string_view buffer, std::size_t start, std::size_t end, Instant readAt);

 private:
  const AppConfig& config_;
  FrameState& state_;
  SampleHistory& history_;
  const Regional& regional_;
  std::function<bool()> recording_;
  std::function<void(Instant)> runWriter_;
};

}  // namespace tarnwell
