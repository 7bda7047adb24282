// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "app/ResizeRules.h"

namespace tarnwell {
namespace {

// A window that takes every size it is given, as a normal window does.
struct FakeWindow : ResizableWindow {
  double w = 0, h = 0;
  bool minimized = false;
  int resizes = 0;
  bool Minimized() const override { return minimized; }
  double Width() const override { return w; }
  double Height() const override { return h; }
  void SetWidth(double v) override { w = v, ++resizes; }
  void SetHeight(double v) override { h = v, ++resizes; }
};

// Each row: the window's size and state before, then laid out, the window's size and resize
// count, graph width and height, x axis top and width, panel left and top, value box left and top.
TEST(ResizeRules, GraphFillsTheRoomPanelStaysBottomRightAndTheMinimumHolds) {
  const std::vector<std::pair<std::vector<double>, std::vector<double>>> rows = {
      {{7290, 6300, 0}, {1, 8005, 6300, 1, 7630, 4175, 4325, 7630, 755, 4450, 999925, 4225}},
      {{10000, 8000, 0}, {1, 10000, 8000, 0, 9625, 5875, 6025, 9625, 2750, 6150, 999925, 5925}},
      {{9000, 3000, 0}, {1, 9000, 3825, 1, 8625, 1700, 1850, 8625, 1750, 1975, 999925, 1750}},
      {{3674, 3674, 0}, {1, 8005, 3825, 2, 7630, 1700, 1850, 7630, 755, 1975, 999925, 1750}},
      {{8005, 3675, 0}, {1, 8005, 3675, 0, 7630, 1550, 1700, 7630, 755, 1825, 999925, 1600}},
      {{100, 100, 1},
       {0, 100, 100, 0, 6615, 3975, 45, 6925, -240, 4320, 840, 960}},  // minimised: nothing moves
  };
  for (const auto& [before, want] : rows) {
    FakeWindow win;
    win.w = before[0], win.h = before[1], win.minimized = before[2] != 0;
    MainLayout l;
    const bool ok = ResizeRules::Form_Resize(win, l);
    EXPECT_EQ((std::vector<double>{double(ok), win.w, win.h, double(win.resizes), l.graphWidth,
                                   l.graphHeight, l.xaxisTop, l.xaxisWidth, l.weighBoxLeft,
                                   l.weighBoxTop, l.theBoxLeft, l.theBoxTop}),
              want)
        << before[0] << "x" << before[1];
  }
}

}  // namespace
}  // namespace tarnwell
