// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/ValuePattern.h"

#include <algorithm>
#include <cmath>

namespace tarnwell::sim {

ValuePattern::ValuePattern(const SimOptions& o)
    : kind_(o.pattern),
      base_(o.value),
      step_(o.step),
      levels_(o.levels),
      hold_(o.hold),
      settle_(o.settle),
      unit_(std::pow(10.0, -o.decimals)),
      random_(o.seed) {
  noise_ = o.noise >= 0 ? o.noise : (kind_ == PatternKind::kPlateau ? 0.0 : unit_);
}

double ValuePattern::Noise(double amplitude) {
  if (amplitude <= 0) return 0;
  return std::uniform_real_distribution<double>(-amplitude, amplitude)(random_);
}

double ValuePattern::At(double seconds) {
  const double slot = std::floor(seconds / hold_);
  const double level = std::fmod(slot, static_cast<double>(levels_));
  const double target = base_ + level * step_;
  switch (kind_) {
    case PatternKind::kSteady:
      return base_ + Noise(noise_);
    case PatternKind::kCount:
      return base_ + unit_ * static_cast<double>(counted_++);
    case PatternKind::kSteps:
      return target + Noise(noise_);
    case PatternKind::kPlateau: {
      // A step swings in by a few units of the last decimal before the reading holds exactly.
      const double intoSlot = seconds - slot * hold_;
      if (intoSlot < settle_) {
        const double swing = std::max(noise_, 5 * unit_) * (1 - intoSlot / settle_);
        return target + Noise(swing);
      }
      return target;
    }
  }
  return base_;
}

}  // namespace tarnwell::sim
