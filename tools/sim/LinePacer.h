// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tarnwell::sim {

// The line's clock: each character takes ten bit times. Times are seconds from the start of
// the run; characters become due as the clock passes their place, so the average rate is the
// line's whatever the size of the writes.
class LinePacer {
 public:
  explicit LinePacer(long baud);

  // Time at which the next character goes out.
  double Next() const { return next_; }
  double CharSeconds() const { return charSeconds_; }
  // Characters whose time has come by `now`.
  std::size_t Due(double now) const;
  void Sent(std::size_t chars) { next_ += static_cast<double>(chars) * charSeconds_; }
  // The line stays quiet until `time`.
  void IdleUntil(double time);
  // After a stall the lost time is given up rather than sent in one burst.
  void CatchUp(double now);
  // When to wake so that `chars` (at most a few milliseconds' worth) are due.
  double WakeFor(std::size_t chars) const;

 private:
  double charSeconds_;
  std::size_t quantum_;
  double next_ = 0;
};

}  // namespace tarnwell::sim
