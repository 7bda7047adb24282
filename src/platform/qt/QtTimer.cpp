// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtTimer.h"

namespace tarnwell {

QtTimer::QtTimer() {
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (handler_) handler_();
  });
}

void QtTimer::SetInterval(int ms) {
  interval_ = ms;
  Update();
}

void QtTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Update();
}

void QtTimer::Update() {
  if (enabled_ && interval_ > 0) {
    if (!timer_.isActive() || timer_.interval() != interval_) timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace tarnwell
