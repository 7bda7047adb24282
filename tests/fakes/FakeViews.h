// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "acquisition/UpdateCycle.h"
#include "app/MainView.h"

namespace tarnwell::testing {

// The labels below the graph and the reading, keeping what they were told.
template <typename View>
class FakeLabels : public View {
 public:
  void SetCurrentColor(Rgb c) override { color = c; }
  void SetCurrentVisible(bool v) override { visible = v; }
  void SetCurrentCaption(const std::string& c) override { current = c; }
  double GraphOuterHeight() const override { return graphOuterHeight; }
  void SetRangeOfChangeTop(double t) override { rangeTop = t; }
  void SetRangeOfChangeCaption(const std::string& c) override { rangeCaption = c; }
  void SetLabNofDat(const std::string& c, double t) override { nofDat = c, nofDatTop = t; }
  void SetLogoTop(double t) override { logoTop = t; }

  Rgb color;
  bool visible = false;
  std::string current = "0", rangeCaption, nofDat;
  double graphOuterHeight = 3975, rangeTop = 0, nofDatTop = 0, logoTop = 0;
};

class FakeLiveView : public FakeLabels<LiveLabels> {
 public:
  void DrawGraph(const GraphRange& r, double s) { range = r, span = s; }
  GraphRange range;
  double span = 0;
};

// A main window without a display; it logs the steps that start-up order depends on.
class FakeMainView : public FakeLabels<MainView> {
 public:
  void SetCaption(const std::string& c) override { caption = c; }
  std::string Caption() const override { return caption; }
  std::string CurrentCaption() const override { return current; }
  bool SetWindowState(int s) override { return s >= 0 && s <= 2 && (state = s, true); }
  int WindowState() const override { return state; }
  void MoveWindow(double l, double t) override { left = l, top = t; }
  void ResizeWindow(double w, double h) override {
    // The window keeps the minimum size, as the resize rules make it.
    width = std::max(w, 8005.0), height = std::max(h, 3825.0), log.push_back("resize");
  }
  double WindowLeft() const override { return left; }
  double WindowTop() const override { return top; }
  double WindowWidth() const override { return width; }
  double WindowHeight() const override { return height; }
  void SetZoomButtonVisible(bool) override {}
  void SetPointerStyle(int) override {}
  void ApplyFormTexts(const LangTable& t) override {
    setupTip = t.Text(181), log.push_back("texts");
  }
  DrawList& GraphPicture() override { return graph; }
  DrawList& XaxisPicture() override { return xaxis; }
  DrawList& TestPicture() override { return testPic; }
  void ShowPlot() override { ++plots; }
  void CloseWindow() override { closed = true; }

  bool closed = false;
  std::string caption = "Vornel-> Tarnwell", setupTip;
  int state = 0, plots = 0;
  double left = 0, top = 0, width = 7290, height = 6300;
  std::vector<std::string> log;
  DrawList graph, xaxis, testPic;

  FakeMainView() {
    current = "123456.7";  // as designed, until the program shows a reading
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    testPic.SetSizes(90, 135, 90, 135);
  }
};

}  // namespace tarnwell::testing
