// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/LinePacer.h"

#include <algorithm>
#include <cmath>

namespace tarnwell::sim {
namespace {
constexpr double kChunkSeconds = 0.005;
// Less than a terminal's buffer holds at 921600 bit/s: a simulator that fell behind does not fill
// the line at once, which its reader would take for an overflow.
constexpr double kMostLag = 0.03;
}  // namespace

LinePacer::LinePacer(long baud)
    : charSeconds_(10.0 / static_cast<double>(baud)),
      quantum_(std::clamp<std::size_t>(static_cast<std::size_t>(kChunkSeconds / charSeconds_), 1,
                                       4096)) {}

std::size_t LinePacer::Due(double now) const {
  if (now < next_) return 0;
  return static_cast<std::size_t>(std::floor((now - next_) / charSeconds_)) + 1;
}

void LinePacer::IdleUntil(double time) { next_ = std::max(next_, time); }

void LinePacer::CatchUp(double now) {
  if (now - next_ > kMostLag) next_ = now;
}

double LinePacer::WakeFor(std::size_t chars) const {
  const std::size_t wanted = std::clamp<std::size_t>(chars, 1, quantum_);
  return next_ + static_cast<double>(wanted - 1) * charSeconds_;
}

}  // namespace tarnwell::sim
