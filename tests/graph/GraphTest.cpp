// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <tuple>

#include "Golden.h"
#include "graph/GraphView.h"
#include "graph/PixelLines.h"
#include "graph/TracePlot.h"

namespace tarnwell::testing {
namespace {

// A graph of 6615 by 3975 twips over 100 slots and the view that zooms it. Each Plot() appends
// the tick's three pictures, whole, to `dump`; the guide lines, when on, leave a wide pen behind.
class Graph : public ::testing::Test {
 protected:
  Graph() {
    graph.SetSizes(6615, 3975, 6615, 3975);
    xaxis.SetSizes(6925, 135, 6925, 135);
    config.LineColor = Rgb{0, 200, 0}, config.FontColor = Rgb{200, 0, 0};
    config.GuideLine = false;
    history.Resize(100);
  }
  void Fixed(double min, double max) {
    config.Expanded = 0;
    config.GraphMin = Value::Double(min), config.GraphMax = max;
  }
  void Plot(const std::string& heading) {
    const GraphRange range = ComputeRange(history, config, regional);
    TracePlot::Draw(PlotInputs{history, config, format, regional, range, range.Max - range.Min,
                               mouseX, mouseY, [this] { view.DrawGuideLines(); }},
                    graph, xaxis, testPic);
    dump += "# " + heading + "\n## graph\n" + DumpDrawList(graph) + "## xaxis\n" +
            DumpDrawList(xaxis) + "## testPic\n" + DumpDrawList(testPic);
  }
  // The range {min, max} after a zoom click on min..max with the pointer last at `y`.
  std::vector<double> ClickAt(double min, double max, double y, int button) {
    config.GraphMin = Value::Double(min), config.GraphMax = max;
    view.PointerMoved(100, y);
    view.PointerPressed(button);
    return {config.GraphMin.NumberOr(regional, -12345), config.GraphMax};
  }

  Regional regional;
  AppConfig config;
  SampleHistory history;
  std::string format = "#0.0", dump;
  double mouseX = 0, mouseY = -380;
  DrawList graph, xaxis, testPic;
  GraphView view{config, history, graph, regional};
};

TEST_F(Graph, TicksDrawWhatTheGoldenPicturesShow) {
  // A flat trace, widened by one last decimal (4.9..5.1), runs along the middle; the middle
  // label gains a decimal for an odd count of last decimals (0.3 x 10 rounds to 3).
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, 5.0);
  config.GuideLine = true;
  Plot("flat 5.0, automatic range, guide lines");
  config.BackRed = Value::Text("x");  // an unreadable background: the design colour
  graph.SetSizes(6625, 3985, 6625, 3985);
  Plot("guide lines on an unreadable background, 6625 by 3985");
  graph.SetSizes(6615, 3975, 6615, 3975);
  config.GuideLine = false;
  Fixed(9.7, 10);
  Plot("#0.0 9.7..10");
  format = "#0";
  Fixed(1, 5);
  Plot("#0 1..5");
  // Scrolling puts the oldest slot (37) at the left, sweeping slot i at i with the marker at the
  // latest value. Beyond the right edge the read-out of scrolling wraps into the ring (slot
  // (148 + 37) mod 100); sweeping shows the slot itself, up to the top slot 100.
  format = "#0.0";
  Fixed(0, 100);
  config.MouseEvent = 1;
  for (int i = 0; i <= 100; ++i) history.SetSlot(i, i);
  history.SetSampleIndex(37);
  mouseX = 6615, mouseY = -200;
  Plot("pointer at the right edge, above the top");
  mouseX = 6615 * 1.5, mouseY = 500;
  Plot("pointer beyond the right edge");
  config.LineMode = 1;
  Plot("sweeping, pointer beyond the right edge");
  mouseX = 6615 * 100 / 99.0;
  Plot("sweeping, pointer on the top slot");
  mouseX = 6615 / 2.0;
  Plot("sweeping, pointer in the middle");
  graph.SetSizes(0, 3975, 0, 3975);
  Plot("sweeping, no width: no read-out");
  graph.SetSizes(6615, 3975, 6615, 3975);
  history.SetSampleIndex(0);
  Plot("sweeping, marker at the left edge");
  // Fixed bounds let 150 and -50 leave the picture; automatic range keeps the lowest value 10
  // above the bottom and stops at the outer height. 98 slots put halves on the sample axis; a
  // single one draws everything at the left edge, none draws no trace and no read-out.
  history = SampleHistory();
  config.LineMode = 0, config.MouseEvent = 0;
  history.Resize(98);
  Fixed(0, 100);
  history.SetSlot(10, 150);
  history.SetSlot(11, -50);
  Plot("98 slots, fixed 0..100");
  config.Expanded = 1;
  graph.SetSizes(6615, 4000, 6615, 3975);
  Plot("automatic, inner height 4000");
  history.Resize(1);
  history.SetSlot(0, 7);
  mouseX = 3000, mouseY = -380, config.MouseEvent = 1;
  config.BackRed = 1, config.BackGreen = 2, config.BackBlue = 3;
  Plot("one slot, pointer at 3000, background 1,2,3");
  history.Resize(0);
  Fixed(0, 10);
  Plot("no slot, fixed 0..10, pointer at 3000");
  EXPECT_TRUE(MatchesGolden("graph/golden/TracePlot.txt", dump));
}

TEST(PixelLines, CoverColumnsFillsWhatTheGoldenShows) {
  EXPECT_TRUE(MatchesScript("graph/golden/PixelLines.txt", [](const std::string& row) {
    std::vector<PixelPoint> points;
    std::istringstream in(row);
    for (std::string p; in >> p;)
      points.push_back(
          {std::strtod(p.c_str(), nullptr), std::strtod(&p[p.find(',') + 1], nullptr)});
    std::vector<std::string> rows(8, std::string(16, '.'));
    const auto rects = CoverColumns(points, 16, 8);
    for (std::size_t k = 0; k < rects.size(); ++k) {
      for (int x = rects[k].x; x < rects[k].x + rects[k].width; ++x) {
        for (int y = rects[k].y; y < rects[k].y + rects[k].height; ++y) {
          char& pixel = rows.at(y).at(x);
          pixel = pixel == '.' ? static_cast<char>('a' + k % 26) : '*';
        }
      }
    }
    std::string out = MoreSegmentsThanColumns(points) ? "dense" : "sparse";
    for (const auto& r : rows) out += "\n" + r;
    return out;
  }));
}

// The pointer is lifted by 380: with outer height 3975 the sides meet at 1987.5 + 380. A bound
// read from config.ini that a zoom leaves is kept as it was written.
TEST_F(Graph, ZoomClicksHalveOrExtendTheRangeOnTheSideClicked) {
  EXPECT_EQ(view.GraphMouseY(), -380);
  view.ZoomButtonPressed(1);
  const double upper = 500, lower = 3000;
  // min, max, pointer y, button, wanted range.
  const std::tuple<double, double, double, int, std::vector<double>> cases[] = {
      {0, 1000, upper, 1, {500, 1000}}, {0, 1000, lower, 1, {0, 500}},
      {0, 1000, upper, 2, {0, 1500}},   {0, 1000, lower, 2, {-500, 1000}},
      {5, 5, upper, 2, {5, 6.5}},       {5, 5, lower, 2, {5, 5}},
      {0, 1000, upper, 4, {0, 1000}},   {0, 1000, 2367, 1, {500, 1000}},
      {0, 1000, 2367.5, 1, {0, 500}},
  };
  for (const auto& [min, max, y, button, want] : cases) {
    EXPECT_EQ(ClickAt(min, max, y, button), want)
        << min << ".." << max << " y " << y << " " << button;
  }
  config.GraphMin = Value::Text("0"), config.GraphMax = 1000;
  view.PointerPressed(1);
  EXPECT_EQ(std::pair(config.GraphMin.IsText(), config.GraphMax), std::pair(true, 500.0));
  view.ZoomButtonPressed(1);
  EXPECT_EQ(ClickAt(0, 1000, 100, 1), (std::vector<double>{0, 1000})) << "zoom mode off";
}

// The zoom button's left or middle button toggles the zoom mode and its pointer; a double click
// flattens the trace, but not while zooming. The right button fits the range to the readings:
// all but the last slot, with a top never below 0.
TEST_F(Graph, ZoomButtonTogglesModeAndPointerAndRightButtonFitsTheData) {
  history.Resize(5);
  for (int i = 0; i <= 5; ++i) history.SetSlot(i, -1 - i);
  history.SetSampleIndex(3);
  std::vector<int> states{view.ZoomMode(), int(view.MousePointer())};
  for (int button : {1, 4}) {
    view.ZoomButtonPressed(button);
    view.ResetTrace();
    states.insert(states.end(), {view.ZoomMode(), int(view.MousePointer()), history.SampleIndex()});
  }
  view.ZoomButtonPressed(2);
  EXPECT_EQ(
      std::tuple(states, history.Samples(), config.GraphMin.NumberOr(regional, 1), config.GraphMax),
      std::tuple(std::vector<int>{0, 0, 1, 5, 3, 0, 0, 0},
                 std::vector<double>{-3, -3, -3, -3, -3, -6}, -3.0, 0.0));
}

}  // namespace
}  // namespace tarnwell::testing
