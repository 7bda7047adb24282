// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "config/ConfigWindow.h"

namespace tarnwell::testing {

// The main window as config.ini reading and writing see it. `calls` logs what was applied, in
// order, so that tests can check where in the reading each setting took effect.
class FakeConfigWindow : public ConfigHooks, public WindowGeometry {
 public:
  void SetRefreshRate() override { calls.push_back("refresh"); }
  void ResetLastLogValue() override { calls.push_back("lastlog"); }
  void SetGraphBackColor(Rgb color) override {
    back = color;
    calls.push_back("back");
  }
  bool SetWindowState(int s) override {
    calls.push_back("state " + std::to_string(s));
    if (s == rejectedState) return false;
    state = s;
    return true;
  }
  void MoveWindow(double l, double t) override {
    left = l;
    top = t;
    calls.push_back("move");
  }
  int WindowState() const override { return state; }
  double WindowLeft() const override { return left; }
  double WindowTop() const override { return top; }
  double WindowWidth() const override { return width; }
  double WindowHeight() const override { return height; }
  void SetNewLogFileName() override {
    if (config) config->LogFileName = newLogFileName;
    calls.push_back("newname");
  }

  AppConfig* config = nullptr;
  std::string newLogFileName = "20240131154502.txt";
  int rejectedState = -1;
  int state = 0;
  double left = 0, top = 0, width = 7290, height = 6300;
  Rgb back;
  std::vector<std::string> calls;
};

}  // namespace tarnwell::testing
