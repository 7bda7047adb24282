// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Timer.h"
#include "platform/win32/MessageWindow.h"

namespace tarnwell {

// A timer of the user-interface thread's message window.
class Win32Timer : public Timer {
 public:
  explicit Win32Timer(MessageWindow& window) : window_(window) {}
  ~Win32Timer() override;
  Win32Timer(const Win32Timer&) = delete;
  Win32Timer& operator=(const Win32Timer&) = delete;

  void SetInterval(int ms) override;
  int Interval() const override { return interval_; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetHandler(std::function<void()> handler) override { handler_ = std::move(handler); }

 private:
  void Update();
  void Stop();

  MessageWindow& window_;
  UINT_PTR running_ = 0;
  int runningInterval_ = 0;
  int interval_ = 0;
  bool enabled_ = true;
  std::function<void()> handler_;
};

}  // namespace tarnwell
