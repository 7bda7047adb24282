// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>

#include "sim/SimOptions.h"

namespace tarnwell::sim {

// The reading at a time on the line. Times are seconds from the first frame and must not go
// back; the noise is drawn from the seed, so the same options give the same readings. A counting
// pattern gives the next number on each call, whatever the time.
class ValuePattern {
 public:
  ValuePattern(const SimOptions& options);

  double At(double seconds);

 private:
  double Noise(double amplitude);

  PatternKind kind_;
  double base_;
  double noise_;
  double step_;
  int levels_;
  double hold_;
  double settle_;
  double unit_;  // one unit of the last decimal
  std::int64_t counted_ = 0;
  std::mt19937 random_;
};

}  // namespace tarnwell::sim
