// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace tarnwell {

// A window timer: fires on the user-interface thread every Interval ms while it is enabled and
// its interval is above 0 (an interval of 0 never fires, as the design's record timer relies on).
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetHandler(std::function<void()> handler) = 0;
};

}  // namespace tarnwell
