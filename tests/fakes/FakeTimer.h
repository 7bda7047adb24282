// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "platform/Timer.h"

namespace tarnwell::testing {

class FakeTimer : public Timer {
 public:
  void SetInterval(int ms) override { interval = ms; }
  int Interval() const override { return interval; }
  void SetEnabled(bool e) override { enabled = e; }
  bool Enabled() const override { return enabled; }
  void SetHandler(std::function<void()> h) override { handler = std::move(h); }
  bool Running() const { return enabled && interval > 0; }
  // Delivers one tick when the timer would fire.
  void Fire() { Running() && handler ? handler() : void(); }

  int interval = 0;
  bool enabled = true;
  std::function<void()> handler;
};

}  // namespace tarnwell::testing
