// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "sim/FrameMaker.h"
#include "sim/SimOptions.h"
#include "sim/ValuePattern.h"

namespace tarnwell::sim {

struct LineItem {
  enum class Kind { kFrame, kGarbage, kRunaway };
  Kind kind = Kind::kFrame;
  std::string bytes;  // what goes on the line
  std::string frame;  // a frame's text without terminator
  double start = 0;   // seconds from the start of the run
};

// Decides what the indicator sends next: frames, with the bursts of garbage and the run
// without terminators that the options ask for.
class ItemSource {
 public:
  explicit ItemSource(const SimOptions& options);

  // The next item; it starts when the line is free, or a frame at its slot of the frame rate.
  LineItem Next(double lineFree);

 private:
  std::string Garbage();
  std::string Runaway(std::size_t length);

  const SimOptions& options_;
  FrameMaker maker_;
  ValuePattern pattern_;
  std::mt19937 random_;
  std::int64_t frames_ = 0;
  std::int64_t sinceGarbage_ = 0;
  bool runawayStarted_ = false;
  std::int64_t runawayLeft_ = 0;  // -1: without end
  std::string runawayText_;
  std::size_t runawayPhase_ = 0;
};

}  // namespace tarnwell::sim
