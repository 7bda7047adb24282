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
  void SetWidth(double v) override {
    w = v;
    ++resizes;
  }
  void SetHeight(double v) override {
    h = v;
    ++resizes;
  }
};

// Graph width and height, x axis top and width, panel left and top, value box left and top.
std::vector<double> Placed(const MainLayout& l) {
  return {l.graphWidth,   l.graphHeight, l.xaxisTop,   l.xaxisWidth,
          l.weighBoxLeft, l.weighBoxTop, l.theBoxLeft, l.theBoxTop};
}

TEST(ResizeRules, GraphFillsTheRoomAndPanelStaysBottomRight) {
  FakeWindow win;
  MainLayout l;
  win.w = 7290, win.h = 6300;  // the default size is narrower than the minimum
  ASSERT_TRUE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(win.w, 8005);
  EXPECT_EQ(Placed(l), (std::vector<double>{7630, 4175, 4325, 7630, 755, 4450, 999925, 4225}));
  win.w = 10000, win.h = 8000;
  ASSERT_TRUE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(Placed(l), (std::vector<double>{9625, 5875, 6025, 9625, 2750, 6150, 999925, 5925}));
}

TEST(ResizeRules, MinimumSizeAndMinimisedWindow) {
  FakeWindow win;
  MainLayout l;
  win.w = 9000, win.h = 3000;  // dragged too low
  ASSERT_TRUE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(win.h, 3825);
  EXPECT_EQ(l.graphHeight, 1700);
  EXPECT_EQ(win.w, 9000);

  win.w = 3674, win.h = 3674;  // below both minimums at once
  ASSERT_TRUE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(win.w, 8005);
  EXPECT_EQ(win.h, 3825);
  EXPECT_EQ(l.graphWidth, 7630);

  // 3675 is exactly the limit: not raised.
  win.w = 8005, win.h = 3675;
  const int before = win.resizes;
  ASSERT_TRUE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(win.h, 3675);
  EXPECT_EQ(win.resizes, before);

  const MainLayout kept = l;
  win.minimized = true;
  win.w = 100, win.h = 100;
  EXPECT_FALSE(ResizeRules::Form_Resize(win, l));
  EXPECT_EQ(l.graphWidth, kept.graphWidth);
  EXPECT_EQ(win.w, 100);
}

}  // namespace
}  // namespace tarnwell
