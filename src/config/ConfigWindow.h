// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/AppConfig.h"

namespace tarnwell {

// What reading and writing config.ini apply to and take from the main window.
class ConfigWindow {
 public:
  virtual ~ConfigWindow() = default;
  virtual void SetRefreshRate() = 0;
  virtual void ResetLastLogValue() = 0;
  virtual void SetGraphBackColor(Rgb color) = 0;
  // 0 normal, 1 minimised, 2 maximised; false when the window rejects the state.
  virtual bool SetWindowState(int state) = 0;
  // Left and top edge in twips.
  virtual void MoveWindow(double left, double top) = 0;
  virtual int WindowState() const = 0;
  virtual double WindowLeft() const = 0;
  virtual double WindowTop() const = 0;
  virtual double WindowWidth() const = 0;
  virtual double WindowHeight() const = 0;
  virtual void SetNewLogFileName() = 0;
};

}  // namespace tarnwell
