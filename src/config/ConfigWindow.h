// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/AppConfig.h"

namespace tarnwell {

// How the main window is shown, numbered as config.ini's WindowState keeps it.
enum class WindowMode { kNormal = 0, kMinimized = 1, kMaximized = 2 };

// The main window's state, size and place, which config.ini keeps. Sizes and positions in twips.
class WindowGeometry {
 public:
  virtual ~WindowGeometry() = default;
  // False when the window rejects the state.
  virtual bool SetWindowState(WindowMode mode) = 0;
  virtual WindowMode WindowState() const = 0;
  // Left and top edge.
  virtual void MoveWindow(double left, double top) = 0;
  virtual double WindowLeft() const = 0;
  virtual double WindowTop() const = 0;
  // Outer size, frame and title bar included.
  virtual double WindowWidth() const = 0;
  virtual double WindowHeight() const = 0;
};

// What reading config.ini and its renewal set in the running program.
class ConfigHooks {
 public:
  virtual ~ConfigHooks() = default;
  virtual void SetRefreshRate() = 0;
  virtual void ResetLastLogValue() = 0;
  virtual void SetNewLogFileName() = 0;
};

}  // namespace tarnwell
