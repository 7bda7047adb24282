// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "platform/DateTime.h"

namespace tarnwell {

// One frame that held a number: the value the indicator sent, and when the frame's end was read.
struct Reading {
  double value = 0;
  // The decimals its number format asks for; nothing where the frame cannot tell (the last
  // format stays).
  std::optional<std::uint8_t> decimals;
  Instant at;
};

// Where the serial link sends what it cut from the stream, in the stream's order.
class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Before and after the frames of one hand-over from the port.
  virtual void HandOverStarts() = 0;
  virtual void HandOverEnds() = 0;
  // A whole frame: its reading, or nothing for a frame that held no number ("OL", "----").
  virtual void Frame(const std::optional<Reading>& reading) = 0;
  // After the first frame since the receive state was reset.
  virtual void FirstFrame() = 0;
  // Frames that were sent but lost on the line, at their place among the frames.
  virtual void FramesLost(std::size_t count) = 0;
};

}  // namespace tarnwell
