// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

#include "platform/Timer.h"

namespace tarnwell {

class QtTimer : public Timer {
 public:
  QtTimer();
  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

 private:
  void Update();

  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = true;
  std::function<void()> handler_;
};

}  // namespace tarnwell
