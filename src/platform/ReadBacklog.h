// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <mutex>
#include <string_view>

#include "platform/SerialPort.h"

namespace tarnwell {

// The reads a reading thread has taken and the user-interface thread has not, in arrival order.
// Bounded: a read that does not fit is dropped, and the next read kept follows a loss. The first
// read kept follows an opening. The frames that ended in what was dropped are counted and told
// with the next read kept, so that the recording can leave their lines out visibly. Safe to use
// from both threads.
class ReadBacklog {
 public:
  static constexpr std::size_t kMostChars = std::size_t{1} << 20;  // some 11 s at 921600 bit/s
  static constexpr std::size_t kMostReads = std::size_t{1} << 16;

  // Keeps one read stamped `at`; false when it did not fit and was dropped.
  bool Keep(std::string_view chars, Instant at);
  // Characters were lost before the next read; `frames` frames ended in what was dropped.
  void MarkLoss(std::size_t frames = 0);
  // The reading ends: frames dropped since the last read kept are told in a read of nothing
  // stamped `at`. False when there were none.
  bool TellDropped(Instant at);
  // The frames that end in `chars`.
  static std::size_t FrameEnds(std::string_view chars);
  // Moves the reads waiting to the end of `into`.
  void TakeInto(Received& into);

 private:
  std::mutex mutex_;
  // Guarded by mutex_.
  Received waiting_;
  LineRead::Follows next_ = LineRead::Follows::kOpening;
  std::size_t framesDropped_ = 0;
};

}  // namespace tarnwell
