// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

#include "platform/DateTime.h"

namespace tarnwell {

// What the reading route hands a recording: while one runs, every reading goes here instead of
// the trend history, and the recording keeps in the history what it records.
class Recorder {
 public:
  virtual ~Recorder() = default;
  virtual bool Recording() const = 0;
  // A reading read at `readAt`, shown in `format` (the latest frame's number format).
  virtual void Take(double value, const std::string& format, Instant readAt) = 0;
  // The value the recording would record now: the latest reading taken.
  virtual double CurrentValue() const = 0;
  // Frames lost on the line; a recording that takes every frame leaves their line counts out.
  virtual void FramesDropped(std::size_t count) = 0;
  // Lines written between the two go to the file in one write, at the second.
  virtual void HoldLines() = 0;
  virtual void ReleaseLines() = 0;
};

}  // namespace tarnwell
