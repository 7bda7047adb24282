// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32Timer.h"

namespace tarnwell {

Win32Timer::~Win32Timer() { Stop(); }

void Win32Timer::SetInterval(int ms) {
  interval_ = ms;
  Update();
}

void Win32Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void Win32Timer::Update() {
  if (!enabled_ || interval_ <= 0) return Stop();
  if (running_ != 0 && runningInterval_ == interval_) return;
  Stop();
  running_ = window_.StartTimer(static_cast<unsigned>(interval_), [this] {
    if (handler_) handler_();
  });
  runningInterval_ = interval_;
}

void Win32Timer::Stop() {
  if (running_ != 0) window_.StopTimer(running_);
  running_ = 0;
}

}  // namespace tarnwell
